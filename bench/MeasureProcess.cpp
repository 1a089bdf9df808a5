// bench_measure: runs a program to its end and tells what it cost, on one line:
//   wall_ms list_ms cpu_ms peak_rss_kb exit_status
// list_ms is the moment its last byte of output arrived: when a search tool's list was
// complete, whatever it did before exiting. The output itself is passed on unchanged.
// Usage: bench_measure COST_FILE PROGRAM [ARGUMENTS...]

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double milliseconds(const timeval& time)
{
    return static_cast<double>(time.tv_sec) * 1000.0 + static_cast<double>(time.tv_usec) / 1000.0;
}

// Copies the child's output to ours; the time of the last byte, or 0 without output.
double passOutputOn(int from, Clock::time_point start)
{
    double lastByte = 0;
    char buffer[65536];
    ssize_t length;
    while ((length = ::read(from, buffer, sizeof buffer)) > 0) {
        lastByte = millisecondsSince(start);
        if (::write(STDOUT_FILENO, buffer, static_cast<std::size_t>(length)) != length)
            std::perror("bench_measure: write");
    }
    return lastByte;
}

}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fputs("usage: bench_measure COST_FILE PROGRAM [ARGUMENTS...]\n", stderr);
        return 2;
    }
    int output[2];
    if (::pipe(output) == -1) {
        std::perror("bench_measure: pipe");
        return 2;
    }
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == -1) {
        std::perror("bench_measure: fork");
        return 2;
    }
    if (child == 0) {
        ::dup2(output[1], STDOUT_FILENO);
        ::close(output[0]);
        ::close(output[1]);
        ::execvp(argv[2], argv + 2);
        std::perror("bench_measure: exec");
        ::_exit(127);
    }
    ::close(output[1]);
    const double listMs = passOutputOn(output[0], start);
    int status = 0;
    rusage usage {};
    if (::wait4(child, &status, 0, &usage) == -1) {
        std::perror("bench_measure: wait4");
        return 2;
    }
    const double wallMs = millisecondsSince(start);
    const double cpuMs = milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime);
    const int exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::FILE* cost = std::fopen(argv[1], "w");
    if (!cost) {
        std::perror("bench_measure: cost file");
        return 2;
    }
    std::fprintf(cost, "%.1f %.1f %.1f %ld %d\n", wallMs, listMs, cpuMs, usage.ru_maxrss, exitStatus);
    std::fclose(cost);
    return exitStatus;
}
