// Fontconfig keeps its pattern caches until the process ends and Qt never
// releases them; LeakSanitizer would report them after every window test.
// Only that library's allocations are excused.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
