// Built into every executable of a sanitizer build: what the sanitizers are to leave out inside
// system libraries that are not ours, so that a report always points at our own code.

#if defined(__SANITIZE_ADDRESS__)
// The leaks the program has no way to free:
// - RtMidi's JACK output makes a ring buffer before it looks for the server and frees it only
//   when it got a client: each JACK output created while no JACK server runs keeps 16 KB (the
//   tool's "ports" and every device command on a machine without JACK).
// - libdbus keeps a buffer of Qt's session bus connection past exit (seen under X11).
// What is left out is not listed at exit either: the tests compare the tool's standard error.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}

extern "C" const char* __lsan_default_suppressions() {
    return "leak:jack_ringbuffer_create\n"
           "leak:libdbus-1.so\n";
}
#endif

#if defined(__SANITIZE_THREAD__)
// ThreadSanitizer sees the synchronisation only of code built with it, and Qt, X11, GLib, D-Bus
// and JACK are not: Qt's thread pool, event queues and QtTest's watchdog hand memory over through
// their own code, and libjack's ring buffer (RtMidi's JACK output) is lock-free. What those
// libraries do to memory themselves (copying, freeing, their own mutexes) is left out, and the
// ring buffer's copies by name; every access of our own code is still watched.
// The crash test of the window's history forks a child from a process with threads; the child
// is let start threads of its own.
extern "C" const char* __tsan_default_options() {
    return "print_suppressions=0:die_after_fork=0";
}

extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libQt6Core.so\n"
           "called_from_lib:libQt6Gui.so\n"
           "called_from_lib:libQt6Widgets.so\n"
           "called_from_lib:libQt6Test.so\n"
           "called_from_lib:libQt6XcbQpa.so\n"
           "called_from_lib:libxcb.so\n"
           "called_from_lib:libglib-2.0.so\n"
           "called_from_lib:libdbus-1.so\n"
           "race:jack_ringbuffer_read\n"
           "race:jack_ringbuffer_peek\n"
           "race:jack_ringbuffer_write\n";
}
#endif
