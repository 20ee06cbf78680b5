// Running a desktop tool without a shell and without blocking the simulator for long.
#include "ui/ExternalTool.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

long Tool_NowMs()
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return (long)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

/// Waits for the child until deadline_ms; kills it when time is up. Returns its exit status or -1.
int Tool_Reap(pid_t pid, long deadline_ms)
{
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (done < 0 && errno != EINTR)
            return -1; // reaped elsewhere: its status is unknown
        if (Tool_NowMs() >= deadline_ms) {
            kill(pid, SIGKILL);
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
            return -1;
        }
        struct timespec pause = {0, 1000000};
        nanosleep(&pause, nullptr);
    }
}

/// Collects the child's output from fd until it closes it or deadline_ms passes.
void Tool_ReadOutput(int fd, std::string *output, size_t maxOutput, long deadline_ms)
{
    char chunk[4096];
    for (;;) {
        long left_ms = deadline_ms - Tool_NowMs();
        if (left_ms <= 0)
            return;
        struct pollfd p = {fd, POLLIN, 0};
        int ready = poll(&p, 1, (int)left_ms);
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return;
        ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        size_t room = output->size() < maxOutput ? maxOutput - output->size() : 0;
        output->append(chunk, (size_t)n < room ? (size_t)n : room);
    }
}

} // namespace

int Utils_RunTool(const char *const argv[], const std::string *input, std::string *output, size_t maxOutput,
                  int timeout_ms)
{
    if (argv == nullptr || argv[0] == nullptr)
        return -1;
    long deadline_ms = Tool_NowMs() + timeout_ms;

    // The input goes through an unlinked temporary file: nothing to feed while the tool runs, and no
    // broken pipe when it exits early.
    FILE *inputFile = nullptr;
    if (input != nullptr) {
        inputFile = tmpfile();
        if (inputFile == nullptr)
            return -1;
        if (fwrite(input->data(), 1, input->size(), inputFile) != input->size() || fflush(inputFile) != 0) {
            fclose(inputFile);
            return -1;
        }
        rewind(inputFile);
        fcntl(fileno(inputFile), F_SETFD, FD_CLOEXEC);
    }
    int pipeFds[2] = {-1, -1};
    if (output != nullptr && pipe2(pipeFds, O_CLOEXEC) != 0) {
        if (inputFile != nullptr)
            fclose(inputFile);
        return -1;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (inputFile != nullptr)
        posix_spawn_file_actions_adddup2(&actions, fileno(inputFile), STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (output != nullptr)
        posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    // The simulator may block or ignore signals; the tool starts with the defaults.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    sigaddset(&defaults, SIGCHLD);
    sigaddset(&defaults, SIGINT);
    sigaddset(&defaults, SIGTERM);
    sigaddset(&defaults, SIGHUP);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = 0;
    int started = posix_spawn(&pid, argv[0], &actions, &attributes, const_cast<char *const *>(argv), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (inputFile != nullptr)
        fclose(inputFile);
    if (output != nullptr)
        close(pipeFds[1]);
    if (started != 0) {
        if (output != nullptr)
            close(pipeFds[0]);
        return -1;
    }
    if (output != nullptr) {
        Tool_ReadOutput(pipeFds[0], output, maxOutput, deadline_ms);
        close(pipeFds[0]);
    }
    return Tool_Reap(pid, deadline_ms);
}

std::string Utils_FindTool(const char *const names[], size_t count, const char *searchPath)
{
    if (searchPath == nullptr)
        return std::string();
    for (size_t i = 0; i < count; i++) {
        const char *dir = searchPath;
        for (;;) {
            const char *colon = dir;
            while (*colon != 0 && *colon != ':')
                colon++;
            if (colon > dir) {
                std::string path(dir, (size_t)(colon - dir));
                path += '/';
                path += names[i];
                struct stat info;
                if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0)
                    return path;
            }
            if (*colon == 0)
                break;
            dir = colon + 1;
        }
    }
    return std::string();
}
