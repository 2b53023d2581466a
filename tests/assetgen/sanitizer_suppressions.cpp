// Leak reports to ignore in sanitizer builds: fontconfig keeps a few pattern allocations that it
// never frees (inside the library, when Cairo matches the "Play" face), which are not ours to fix.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
