#pragma once

// Forked children for tests that limit memory or feed a named pipe (plain POSIX, for
// every layer's tests); limits and pipes stay in the child and the test's own directory.

#include <exception>
#include <fstream>
#include <functional>
#include <string>

#include <fcntl.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// The address sanitizer reserves terabytes of address space and aborts when an
// allocation fails: memory limits mean nothing under it, and tests needing one skip.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kMemoryLimitsWork = false;
#define IVRA_SKIP_WITHOUT_MEMORY_LIMITS() GTEST_SKIP() << "no memory limits under the address sanitizer"
#else
inline constexpr bool kMemoryLimitsWork = true;
#define IVRA_SKIP_WITHOUT_MEMORY_LIMITS() (void)0
#endif

// Runs `body` in a forked child whose address space may grow by `headroom` bytes (0 or
// no limits: unlimited); returns the text it gives, "threw: <what>", or "child died: ...".
inline std::string inChild(const std::function<std::string()>& body, long long headroom = 0)
{
    int fds[2] = {-1, -1};
    (void)!::pipe(fds);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::alarm(30); // a hang ends the child and fails the test
#if defined(__GLIBC__)
        // Heap the parent freed but kept mapped would count as room already taken and
        // let an allocation through that the headroom should refuse.
        ::malloc_trim(0);
#endif
        long long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        const rlim_t limit = static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + headroom);
        const rlimit r{limit, limit};
        std::string text = "refused the limit";
        try {
            if (headroom == 0 || !kMemoryLimitsWork || ::setrlimit(RLIMIT_AS, &r) == 0)
                text = body();
        } catch (const std::exception& e) {
            text = std::string("threw: ") + e.what();
        }
        (void)!::write(fds[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? text : "child died: " + text;
}

// Forks a writer that opens the named pipe `path` and writes `bytes` once, or
// (`endless`) until it is killed; returns its id.
inline pid_t feedPipe(const std::string& path, const std::string& bytes, bool endless = false)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(path.c_str(), O_WRONLY);
        while (fd >= 0 && ::write(fd, bytes.data(), bytes.size()) > 0 && endless) {
        }
        ::_exit(0);
    }
    return pid;
}
