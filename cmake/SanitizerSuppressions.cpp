// Built into every executable of an AddressSanitizer build: the leaks inside system libraries that
// the program has no way to free, so that a leak report always means a leak of ours.
//
// - RtMidi's JACK output makes a ring buffer before it looks for the server and frees it only
//   when it got a client: each JACK output created while no JACK server runs keeps 16 KB (the
//   tool's "ports" and every device command on a machine without JACK).
// - libdbus keeps a buffer of Qt's session bus connection past exit (seen under X11).
//
// What is left out is not listed at exit either: the tests compare the tool's standard error.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

extern "C" const char* __lsan_default_suppressions() {
    return "leak:jack_ringbuffer_create\n"
           "leak:libdbus-1.so\n";
}
