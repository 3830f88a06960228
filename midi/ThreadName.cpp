#include "midi/ThreadName.h"

#ifdef __linux__
#include <pthread.h>
#endif

void NameThisThread(const char* name) {
#ifdef __linux__
    pthread_setname_np(pthread_self(), name);
#else
    (void)name;
#endif
}
