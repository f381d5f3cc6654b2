// Runs a program and writes its time and its own peak resident memory to a file:
//
//   bench_peak REPORT PROGRAM [ARGUMENTS...]     REPORT receives "SECONDS KILOBYTES"
//
// At exec the kernel keeps the peak of the memory the process had before, so a program
// started straight from the benchmark driver (spawned or forked) reports at least the
// driver's own peak. Started from this small process, the figure is the program's.
#include <cstdio>

#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

double now()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_peak REPORT PROGRAM [ARGUMENTS...]\n");
        return 2;
    }
    const double start = now();
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[2], argv + 2);
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || wait4(pid, &status, 0, &usage) != pid)
        return 1;
    const double seconds = now() - start;
    std::FILE* report = std::fopen(argv[1], "w");
    if (!report || std::fprintf(report, "%.6f %ld\n", seconds, usage.ru_maxrss) < 0 || std::fclose(report) != 0)
        return 1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
