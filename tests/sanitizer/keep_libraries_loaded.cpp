// Sanitizer builds: keeps every library a program loads mapped until the leak check at exit.
//
// SDL and the OpenGL driver unload the driver's libraries (Mesa's EGL and DRI libraries) when the
// window closes. The leak check runs later, so the memory those libraries still held looked lost
// and was reported with no library named: neither a suppression nor a reader could tell it from
// ours. With the libraries kept, their globals are searched as usual and anything they do lose is
// reported under their own names. A later dlopen of the same library finds it still loaded.
extern "C" int dlclose(void*) { return 0; }
