#pragma once

#include <chrono>
#include <functional>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <sys/types.h>

// The live home screen of the preview: the home-screen host (tintwell-springboard) as a
// child process on the current device root, reached only as any other process reaches it:
// a system-wide notification asks for its screen, and lock-screen events are scenario
// files played from an inbox folder. "ReSpring" replaces the process (the restart tool
// starts it again with the same command line); the running one is then found by the root's
// pid file.
class HomeScreenChild {
public:
    static constexpr const char* snapshotRequest = "com.quillfen.tintwell.preview/Screen";
    static constexpr const char* playRequest = "com.quillfen.tintwell.preview/Play";

    // `workFolder` holds the screen files and the inbox; it must exist.
    HomeScreenChild(std::filesystem::path executable, std::filesystem::path workFolder, double pictureScale);
    // Stops the host that runs on the root, whichever process it is by then.
    ~HomeScreenChild();
    HomeScreenChild(const HomeScreenChild&) = delete;
    HomeScreenChild& operator=(const HomeScreenChild&) = delete;

    // Starts the host and waits for its first screen; false with `error` set.
    bool start(std::string& error);

    // Waits until every notification posted before this call has reached the host, then
    // has it write its screen. False when the host does not answer in time.
    bool refreshScreen();
    // Plays scenario events (a JSON array, already checked) and waits until they ran.
    bool play(const nlohmann::json& events);

    // The screen as last written: PNG bytes and the view tree's JSON text.
    const std::string& picture() const { return m_picture; }
    const std::string& snapshot() const { return m_snapshot; }
    std::filesystem::path inboxFolder() const { return m_workFolder / "inbox"; }
    // The host's output, beside the restart tool's.
    static std::filesystem::path logFile();

private:
    struct FileStamp {
        ino_t inode { 0 };
        std::chrono::file_clock::time_point written;
        bool operator==(const FileStamp&) const = default;
    };
    static std::optional<FileStamp> stampOf(const std::filesystem::path&);
    bool playFile(const nlohmann::json& events);
    bool waitForScreen(std::optional<FileStamp> before, std::chrono::steady_clock::duration patience);
    void reapChild();
    // Posts the request now and again (a post may come before the host listens) until
    // done() holds or patience runs out.
    bool postUntil(const char* request, std::chrono::steady_clock::duration patience, std::chrono::steady_clock::duration poll, const std::function<bool()>& done);

    std::filesystem::path m_executable;
    std::filesystem::path m_workFolder;
    double m_pictureScale;
    pid_t m_child { -1 };
    unsigned long m_played { 0 };
    std::string m_picture;
    std::string m_snapshot;
};
