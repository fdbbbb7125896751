#pragma once

#include <functional>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `body` in a child process (its own mounts stay its own) and returns
// its exit status; the child reports what went wrong on `message`.
inline int InChild(const std::function<int(std::string& message)>& body, std::string& message)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeFds[0]);
        std::string text;
        const int status = body(text);
        (void)!::write(pipeFds[1], text.data(), text.size());
        ::_exit(status);
    }
    ::close(pipeFds[1]);
    char buffer[512];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0)
        message.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A private small tmpfs over `dir`, for this (child) process only.
inline bool MountPrivateTmpfs(const std::string& dir, const char* options)
{
    if (::geteuid() != 0 || ::unshare(CLONE_NEWNS) != 0)
        return false;
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return false;
    return ::mount("tmpfs", dir.c_str(), "tmpfs", 0, options) == 0;
}
