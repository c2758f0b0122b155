// Force-included by scripts/posix-check before every source it compiles with
// _GNU_SOURCE undefined. Debian 12's libstdc++ calls these GNU functions from
// its own C++20 headers (<condition_variable>, <mutex>, <shared_mutex>, and
// the futex wait of <atomic>), which the C library then no longer declares.
// They are declared inside namespace std, where the library's unqualified
// calls find them and our code, which never writes std::syscall, cannot.
#pragma once

#include <pthread.h>
#include <time.h>

namespace std {
extern "C" {
int pthread_cond_clockwait(pthread_cond_t *, pthread_mutex_t *, clockid_t, const struct timespec *);
int pthread_mutex_clocklock(pthread_mutex_t *, clockid_t, const struct timespec *);
int pthread_rwlock_clockrdlock(pthread_rwlock_t *, clockid_t, const struct timespec *);
int pthread_rwlock_clockwrlock(pthread_rwlock_t *, clockid_t, const struct timespec *);
long syscall(long, ...);
}
} // namespace std
