// Fontconfig, under pango, keeps its font caches for the life of the process by design;
// LeakSanitizer would report them at exit of every program that draws text.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
