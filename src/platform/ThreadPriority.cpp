#include "platform/ThreadPriority.h"

#include <sys/resource.h>
#include <unistd.h>

#include <utility>

void ThreadPriority::giveWayToWindow()
{
    thread_local bool done = false;
    if (!std::exchange(done, true))
        setpriority(PRIO_PROCESS, id_t(gettid()), 10);
}
