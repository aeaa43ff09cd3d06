#pragma once

// What every test of the extension inside the home screen needs: a process of its own
// (the extension loads once per process and keeps its caches for the life of it), a
// device root with the built libraries installed the way a package installs them, and
// the settings files written the way the settings pages write them.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

namespace homescreen {

namespace fs = std::filesystem;

// Relative to the device root.
inline constexpr const char* domainFile = "var/mobile/Library/Preferences/com.quillfen.tintwellprefs.plist";
inline constexpr const char* coloursFile = "var/mobile/Library/Preferences/com.quillfen.tintwellprefs.colors.plist";
inline constexpr const char* reloadNotification = "com.quillfen.tintwellprefs/ReloadPrefs";

// Runs the body in a forked child; its failures print there and fail the test here.
// _Exit skips the exit-time leak check, so under the sanitizers the child runs it itself.
inline void inForkedProcess(const std::function<void()>& body)
{
    std::fflush(nullptr);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        body();
        bool leaked = false;
#ifdef __SANITIZE_ADDRESS__
        leaked = __lsan_do_recoverable_leak_check() != 0;
#endif
        std::fflush(nullptr);
        std::_Exit(::testing::Test::HasFailure() || leaked ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the home-screen process died (signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0) << ")";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failures in the home-screen process, printed above";
}

// The built library and its filter list, as a package installs them.
inline void installLibrary(const fs::path& root, const std::string& name)
{
    fs::path built = fs::path(TINTWELL_DYLIB).parent_path();
    fs::path libraries = root / "Library/MobileSubstrate/DynamicLibraries";
    fs::create_directories(libraries);
    for (const char* extension : { ".dylib", ".plist" })
        fs::copy_file(built / (name + extension), libraries / (name + extension), fs::copy_options::overwrite_existing);
}

inline void installTintwell(const fs::path& root) { installLibrary(root, "Tintwell"); }

inline std::string plistDictionary(const std::string& entries)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>" + entries + "</dict>\n</plist>\n";
}

inline std::string integerEntry(const std::string& key, long value) { return "<key>" + key + "</key><integer>" + std::to_string(value) + "</integer>"; }
inline std::string boolEntry(const std::string& key, bool value) { return "<key>" + key + "</key>" + (value ? "<true/>" : "<false/>"); }
inline std::string stringEntry(const std::string& key, const std::string& value) { return "<key>" + key + "</key><string>" + value + "</string>"; }

// Replaced whole, like the settings pages' atomic write.
inline void writeFileAtomically(const fs::path& path, const std::string& bytes)
{
    fs::create_directories(path.parent_path());
    fs::path temporary = path.string() + ".new";
    std::ofstream(temporary, std::ios::binary) << bytes;
    fs::rename(temporary, path);
}

} // namespace homescreen
