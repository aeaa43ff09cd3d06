// A test extension that only says its own file name when it is loaded, so a test
// sees which libraries were opened and in which order.
#include <cstdio>
#include <cstring>
#include <dlfcn.h>

namespace {

__attribute__((constructor)) void announceLoad()
{
    Dl_info info {};
    if (!dladdr(reinterpret_cast<void*>(&announceLoad), &info) || !info.dli_fname)
        return;
    const char* slash = std::strrchr(info.dli_fname, '/');
    std::printf("%s: opened\n", slash ? slash + 1 : info.dli_fname);
    std::fflush(stdout);
}

} // namespace
