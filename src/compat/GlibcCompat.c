/* Keeps Vellomir64.xpl loadable with glibc 2.31 (Ubuntu 20.04, Debian 11) although it is built against a
 * newer one. The link wraps (-Wl,--wrap=NAME) every reference that would need a newer symbol version,
 * including those of the statically linked C++ runtime, and the wrappers below call the old version of the
 * same function, or do the job themselves where no old version exists. Linked into the plug-in only. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <pthread.h>
#include <stdint.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>

#define VELLOMIR_HIDDEN __attribute__((visibility("hidden")))

/* NAME@VERSION through a local alias, and the wrapper that the link substitutes for NAME. */
#define OLD_VERSION(ret, name, version, params, args)                                                                  \
    __asm__(".symver vellomir_old_" #name ", " #name "@" version);                                                     \
    ret vellomir_old_##name params;                                                                                    \
    VELLOMIR_HIDDEN ret __wrap_##name params                                                                           \
    {                                                                                                                  \
        return vellomir_old_##name args;                                                                               \
    }

/* Threads: in libpthread before 2.34, in libc since (with the old versions kept). */
OLD_VERSION(int, pthread_create, "GLIBC_2.2.5",
            (pthread_t * thread, const pthread_attr_t *attr, void *(*start)(void *), void *arg),
            (thread, attr, start, arg))
OLD_VERSION(int, pthread_join, "GLIBC_2.2.5", (pthread_t thread, void **value), (thread, value))
OLD_VERSION(int, pthread_detach, "GLIBC_2.2.5", (pthread_t thread), (thread))
OLD_VERSION(int, pthread_once, "GLIBC_2.2.5", (pthread_once_t * once, void (*routine)(void)), (once, routine))
OLD_VERSION(int, pthread_key_create, "GLIBC_2.2.5", (pthread_key_t * key, void (*destructor)(void *)),
            (key, destructor))
OLD_VERSION(int, __pthread_key_create, "GLIBC_2.2.5", (pthread_key_t * key, void (*destructor)(void *)),
            (key, destructor))
OLD_VERSION(int, pthread_key_delete, "GLIBC_2.2.5", (pthread_key_t key), (key))
OLD_VERSION(void *, pthread_getspecific, "GLIBC_2.2.5", (pthread_key_t key), (key))
OLD_VERSION(int, pthread_setspecific, "GLIBC_2.2.5", (pthread_key_t key, const void *value), (key, value))
OLD_VERSION(int, pthread_rwlock_rdlock, "GLIBC_2.2.5", (pthread_rwlock_t * lock), (lock))
OLD_VERSION(int, pthread_rwlock_wrlock, "GLIBC_2.2.5", (pthread_rwlock_t * lock), (lock))
OLD_VERSION(int, pthread_rwlock_unlock, "GLIBC_2.2.5", (pthread_rwlock_t * lock), (lock))
OLD_VERSION(int, pthread_cond_clockwait, "GLIBC_2.30",
            (pthread_cond_t * cond, pthread_mutex_t *mutex, clockid_t clock, const struct timespec *abstime),
            (cond, mutex, clock, abstime))

/* Dynamic loading: in libdl before 2.34. */
OLD_VERSION(void *, dlopen, "GLIBC_2.2.5", (const char *file, int mode), (file, mode))
OLD_VERSION(void *, dlsym, "GLIBC_2.2.5", (void *handle, const char *name), (handle, name))
OLD_VERSION(char *, dlerror, "GLIBC_2.2.5", (void), ())
OLD_VERSION(int, dladdr, "GLIBC_2.2.5", (const void *address, Dl_info *info), (address, info))

/* stat and fstat64 are functions of their own since 2.33; before, the headers called __xstat. */
int vellomir_old_xstat(int version, const char *path, struct stat *buf);
int vellomir_old_fxstat64(int version, int fd, struct stat64 *buf);
__asm__(".symver vellomir_old_xstat, __xstat@GLIBC_2.2.5");
__asm__(".symver vellomir_old_fxstat64, __fxstat64@GLIBC_2.2.5");
enum { STAT_VERSION_X86_64 = 1 };
VELLOMIR_HIDDEN int __wrap_stat(const char *path, struct stat *buf)
{
    return vellomir_old_xstat(STAT_VERSION_X86_64, path, buf);
}
VELLOMIR_HIDDEN int __wrap_fstat64(int fd, struct stat64 *buf)
{
    return vellomir_old_fxstat64(STAT_VERSION_X86_64, fd, buf);
}

/* The C++ runtime asks whether the process has one thread only; "no" is always safe (atomics are used). */
VELLOMIR_HIDDEN char __wrap___libc_single_threaded = 0;

/* std::random_device's default source (never used by the plug-in, but linked with the runtime). */
VELLOMIR_HIDDEN uint32_t __wrap_arc4random(void)
{
    uint32_t value = 0;
    if (getrandom(&value, sizeof value, 0) != (ssize_t)sizeof value) {
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        value ^= (uint32_t)now.tv_nsec * 2654435761u ^ (uint32_t)now.tv_sec;
    }
    return value;
}

/* The unwinder finds the exception tables of the object holding an address (glibc 2.35); the same answer
 * from the program headers. */
struct FindObject {
    uintptr_t address;
    struct dl_find_object *result;
};

static int vellomir_find_object(struct dl_phdr_info *info, size_t size, void *data)
{
    (void)size;
    struct FindObject *find = (struct FindObject *)data;
    uintptr_t low = UINTPTR_MAX, high = 0;
    int contains = 0;
    void *ehFrame = NULL;
    for (int i = 0; i < info->dlpi_phnum; i++) {
        const ElfW(Phdr) *header = &info->dlpi_phdr[i];
        uintptr_t start = info->dlpi_addr + header->p_vaddr;
        if (header->p_type == PT_LOAD) {
            uintptr_t end = start + header->p_memsz;
            low = start < low ? start : low;
            high = end > high ? end : high;
            contains = contains || (find->address >= start && find->address < end);
        } else if (header->p_type == PT_GNU_EH_FRAME) {
            ehFrame = (void *)start;
        }
    }
    if (!contains)
        return 0;
    find->result->dlfo_flags = 0;
    find->result->dlfo_map_start = (void *)low;
    find->result->dlfo_map_end = (void *)high;
    find->result->dlfo_link_map = NULL;
    find->result->dlfo_eh_frame = ehFrame;
    return 1;
}

VELLOMIR_HIDDEN int __wrap__dl_find_object(void *address, struct dl_find_object *result)
{
    struct FindObject find = {(uintptr_t)address, result};
    return dl_iterate_phdr(vellomir_find_object, &find) != 0 ? 0 : -1;
}
