// Fontconfig keeps its pattern caches until the process ends and Qt never
// releases them; LeakSanitizer would report them at the end of every
// program that has drawn or measured text.
// Only that library's allocations are excused.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}
