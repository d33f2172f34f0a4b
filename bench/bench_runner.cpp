// selvanto-bench: generates an old installation at size N and 2N, runs the real batch command on each with
// its wall time and peak resident memory, counts the rows it wrote, writes the same rows by the plainest
// insert loop (the floor) and prints how the upgrade compares.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Target.h"

namespace fs = std::filesystem;

namespace {

struct Line {
    double at = 0;  // seconds since the start
    long rssKb = 0;  // resident memory when the line came
    std::string text;
};

struct Child {
    int status = -1;
    double seconds = 0;
    long maxRssKb = 0;
    double cpuSeconds = 0;  // user + system: far below the wall time when the disk is what it waits for
    std::vector<Line> timeline;  // the child's standard error, line by line
};

long residentKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string l; std::getline(in, l);)
        if (l.rfind("VmRSS:", 0) == 0) return std::atol(l.c_str() + 6);
    return 0;
}

// Runs `argv` with `input` on its standard input, its standard output into `out` and its standard error
// into `err`, each error line stamped with the time and the resident memory at its arrival: the batch
// command announces every transfer there, so the stamps show where the time and the memory go. The peak
// comes from the child's own rusage, which sampling could miss.
Child run(const std::vector<std::string>& argv, const std::string& input, const std::string& out,
          const std::string& err) {
    int in[2], errPipe[2];
    if (::pipe(in) != 0 || ::pipe(errPipe) != 0) throw std::runtime_error("pipe failed");
    auto start = std::chrono::steady_clock::now();
    pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork failed");
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(errPipe[1], 2);
        ::close(in[0]);
        ::close(in[1]);
        ::close(errPipe[0]);
        ::close(errPipe[1]);
        int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(o, 1);
        std::vector<char*> args;
        for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(errPipe[1]);
    if (!input.empty() && ::write(in[1], input.data(), input.size()) < 0) { /* the child reads what came */ }
    ::close(in[1]);
    Child c;
    auto now = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    std::string pending;
    char buf[4096];
    for (;;) {
        ssize_t n = ::read(errPipe[0], buf, sizeof buf);
        if (n <= 0) break;
        pending.append(buf, static_cast<std::size_t>(n));
        for (std::size_t nl; (nl = pending.find('\n')) != std::string::npos; pending.erase(0, nl + 1))
            c.timeline.push_back({now(), residentKb(pid), pending.substr(0, nl)});
    }
    if (!pending.empty()) c.timeline.push_back({now(), residentKb(pid), pending});
    ::close(errPipe[0]);
    struct rusage ru {};
    int status = 0;
    ::wait4(pid, &status, 0, &ru);
    c.seconds = now();
    c.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    c.maxRssKb = ru.ru_maxrss;
    c.cpuSeconds = ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6;
    std::ofstream e(err);
    for (const auto& l : c.timeline) {
        char stamp[64];
        std::snprintf(stamp, sizeof stamp, "%8.2f s %7.0f MB  ", l.at, l.rssKb / 1024.0);
        e << stamp << l.text << "\n";
    }
    return c;
}

// The steps that took longest: each line of the timeline lasts until the next one.
std::string slowest(const Child& c, std::size_t count) {
    struct Step {
        double seconds;
        long rssKb;
        std::string text;
    };
    std::vector<Step> steps;
    for (std::size_t i = 0; i < c.timeline.size(); ++i) {
        double end = i + 1 < c.timeline.size() ? c.timeline[i + 1].at : c.seconds;
        long rss = i + 1 < c.timeline.size() ? c.timeline[i + 1].rssKb : c.timeline[i].rssKb;
        steps.push_back({end - c.timeline[i].at, rss, c.timeline[i].text});
    }
    std::sort(steps.begin(), steps.end(), [](const Step& a, const Step& b) { return a.seconds > b.seconds; });
    std::string out;
    for (std::size_t i = 0; i < steps.size() && i < count; ++i) {
        char line[512];
        std::snprintf(line, sizeof line, "     %7.1f s  (RSS after %4.0f MB)  %s\n", steps[i].seconds,
                      steps[i].rssKb / 1024.0, steps[i].text.c_str());
        out += line;
    }
    return out;
}

std::string tail(const std::string& path, int lines) {
    std::ifstream in(path);
    std::vector<std::string> all;
    for (std::string l; std::getline(in, l);) all.push_back(l);
    std::string out;
    for (std::size_t i = all.size() > static_cast<std::size_t>(lines) ? all.size() - lines : 0; i < all.size(); ++i)
        out += "    " + all[i] + "\n";
    return out;
}

struct Measure {
    std::string kind;
    int scale = 1;
    bool ok = false;
    std::int64_t rows = 0;
    double seconds = 0, floorSeconds = 0;
    std::int64_t floorRows = 0;
    long rssKb = 0;
    double cpuSeconds = 0, floorCpuSeconds = 0;
    double rate() const { return seconds > 0 ? rows / seconds : 0; }
    double floorRate() const { return floorSeconds > 0 ? floorRows / floorSeconds : 0; }
};

const char* const kUsage =
    "usage: selvanto-bench [--kind mirkado4|kobaltin|both] [--preset bench|demo] [--scales 1,2] [--work DIR]\n"
    "         [--without LIST] [--repeat R] [--keep] [--verbose] [--check-goals] [--bin BUILD_DIR] [generator options: --cards N ...]\n"
    "  Each scale K generates the source with --scale K, so 2 doubles cards, stock, movements and hotel rows.\n"
    "  --repeat R runs the upgrade and the floor R times each on fresh targets and keeps the fastest.\n"
    "  Exit status: 0 every run completed, 2 a run failed, 1 a goal was missed (only with --check-goals).\n";

}  // namespace

int main(int argc, char** argv) {
    std::string bin = SELVANTO_BINARY_DIR, work, preset = "bench", without, kinds = "mirkado4";
    std::vector<int> scales{1, 2};
    std::vector<std::string> generatorArgs;
    bool keep = false, verbose = false, checkGoals = false;
    int repeat = 1;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
            return argv[++i];
        };
        try {
            if (a == "--help" || a == "-h") {
                std::fputs(kUsage, stdout);
                return 0;
            } else if (a == "--kind") kinds = value();
            else if (a == "--preset") preset = value();
            else if (a == "--work") work = value();
            else if (a == "--without") without = value();
            else if (a == "--bin") bin = value();
            else if (a == "--keep") keep = true;
            else if (a == "--verbose") verbose = true;
            else if (a == "--check-goals") checkGoals = true;
            else if (a == "--repeat") repeat = std::max(1, std::stoi(value()));
            else if (a == "--scales") {
                scales.clear();
                std::stringstream ss(value());
                for (std::string s; std::getline(ss, s, ',');) scales.push_back(std::stoi(s));
            } else if (a.rfind("--", 0) == 0) {
                generatorArgs.push_back(a);
                generatorArgs.push_back(value());
            } else throw std::invalid_argument("unknown argument " + a);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s\n%s", e.what(), kUsage);
            return 64;
        }
    }
    std::vector<std::string> kindList;
    if (kinds == "both") kindList = {"mirkado4", "kobaltin"};
    else kindList = {kinds};
    bool ownWork = work.empty();
    if (ownWork) {
        std::string tmpl = (fs::temp_directory_path() / "selvanto-bench-XXXXXX").string();
        if (!::mkdtemp(tmpl.data())) return 2;
        work = tmpl;
    }
    const std::string makeSource = bin + "/bench/selvanto-make-source";
    const std::string batch = bin + "/app/batch/selvanto-upgrade-batch";

    std::vector<Measure> results;
    for (const auto& kind : kindList) {
        for (int scale : scales) {
            Measure m;
            m.kind = kind;
            m.scale = scale;
            const std::string dir = work + "/" + kind + "-x" + std::to_string(scale);
            fs::remove_all(dir);
            fs::create_directories(dir);
            const std::string src = dir + "/source", dst = dir + "/target";
            std::vector<std::string> gen{makeSource, "--preset", preset, "--kind", kind, "--scale", std::to_string(scale),
                                         "--source", src, "--target", dst};
            gen.insert(gen.end(), generatorArgs.begin(), generatorArgs.end());
            std::printf("== %s x%d: generating the source ...\n", kind.c_str(), scale);
            std::fflush(stdout);
            Child g = run(gen, "", dir + "/make-source.out", dir + "/make-source.err");
            if (g.status != 0) {
                std::printf("   the generator failed (%d):\n%s", g.status, tail(dir + "/make-source.err", 5).c_str());
                results.push_back(m);
                continue;
            }
            std::printf("   source ready in %.1f s; running selvanto-upgrade-batch ...\n", g.seconds);
            std::fflush(stdout);
            try {
                // Every repetition starts from the same empty target; the fastest counts, as the one least
                // disturbed by whatever else the machine was doing.
                const std::string pristine = dir + "/target.empty";
                fs::copy(dst, pristine, fs::copy_options::recursive);
                auto before = bench::countTarget(dst);
                std::vector<std::string> up{batch, "--source-kind", kind, "--source", src, "--target", dst};
                if (!without.empty()) up.insert(up.end(), {"--without", without});
                std::vector<bench::TableRows> rows;
                for (int rep = 0; rep < repeat; ++rep) {
                    if (rep) {
                        fs::remove_all(dst);
                        fs::copy(pristine, dst, fs::copy_options::recursive);
                    }
                    Child b = run(up, "masterkey\n", dir + "/batch.out", dir + "/batch.err");
                    auto got = bench::written(before, bench::countTarget(dst));
                    m.rssKb = std::max(m.rssKb, b.maxRssKb);
                    if (b.status != 0) {
                        std::printf("   the upgrade ended with status %d after %.1f s (peak RSS %.0f MB):\n%s", b.status,
                                    b.seconds, b.maxRssKb / 1024.0, tail(dir + "/batch.err", 4).c_str());
                        m.seconds = b.seconds, m.cpuSeconds = b.cpuSeconds, m.rows = bench::total(got);
                        m.ok = false;
                        break;
                    }
                    std::printf("   upgrade: %lld rows in %.1f s (CPU %.1f s), peak RSS %.0f MB; slowest steps:\n%s",
                                static_cast<long long>(bench::total(got)), b.seconds, b.cpuSeconds, b.maxRssKb / 1024.0,
                                slowest(b, verbose ? 8 : 4).c_str());
                    std::fflush(stdout);
                    if (!m.ok || b.seconds < m.seconds) {
                        m.seconds = b.seconds, m.cpuSeconds = b.cpuSeconds;
                        fs::copy_file(dir + "/batch.err", dir + "/batch-fastest.err", fs::copy_options::overwrite_existing);
                    }
                    m.ok = true;
                    rows = std::move(got);
                    m.rows = bench::total(rows);
                }
                if (m.ok) {
                    if (verbose)
                        for (const auto& t : rows)
                            std::printf("   %-28s %-14s %lld\n", t.database.c_str(), t.table.c_str(),
                                        static_cast<long long>(t.rows));
                    for (int rep = 0; rep < repeat; ++rep) {
                        fs::remove_all(dir + "/floor");
                        auto floor = bench::insertFloor(dst, rows, dir + "/floor");
                        std::printf("   floor: %lld rows in %.1f s (CPU %.1f s)\n", static_cast<long long>(floor.rows),
                                    floor.seconds, floor.cpuSeconds);
                        std::fflush(stdout);
                        if (rep == 0 || floor.seconds < m.floorSeconds) m.floorSeconds = floor.seconds;
                        if (rep == 0 || floor.cpuSeconds < m.floorCpuSeconds) m.floorCpuSeconds = floor.cpuSeconds;
                        m.floorRows = floor.rows;
                    }
                }
            } catch (const std::exception& e) {
                std::printf("   failed: %s\n", e.what());
                m.ok = false;
            }
            results.push_back(m);
            if (!keep) fs::remove_all(dir);
        }
    }

    // The CPU columns say the same without the disk and the neighbours: CPU seconds of the upgrade and of the
    // floor for the same rows.
    std::printf("\n%-9s %5s %10s %9s %7s %10s %12s %7s %11s %13s\n", "source", "scale", "rows", "seconds", "CPU s",
                "rows/s", "floor rows/s", "ratio", "floor CPU s", "peak RSS (MB)");
    for (const auto& m : results) {
        if (!m.ok) {
            std::printf("%-9s %5d %10s %9.1f %7.1f %10s %12s %7s %11s %13.0f\n", m.kind.c_str(), m.scale, "failed",
                        m.seconds, m.cpuSeconds, "-", "-", "-", "-", m.rssKb / 1024.0);
            continue;
        }
        std::printf("%-9s %5d %10lld %9.1f %7.1f %10.0f %12.0f %7.2f %11.1f %13.0f\n", m.kind.c_str(), m.scale,
                    static_cast<long long>(m.rows), m.seconds, m.cpuSeconds, m.rate(), m.floorRate(),
                    m.floorRate() > 0 ? m.rate() / m.floorRate() : 0, m.floorCpuSeconds, m.rssKb / 1024.0);
    }
    int missed = 0;
    for (const auto& kind : kindList) {
        const Measure *n = nullptr, *n2 = nullptr;
        for (const auto& m : results)
            if (m.kind == kind && m.ok) {
                if (m.scale == 1) n = &m;
                if (m.scale == 2) n2 = &m;
            }
        if (n) {
            double r = n->floorRate() > 0 ? n->rate() / n->floorRate() : 0;
            bool ok = r >= 0.5;
            missed += !ok;
            std::printf("%s: throughput %.2f x the floor (goal >= 0.50): %s\n", kind.c_str(), r, ok ? "met" : "MISSED");
        }
        if (n && n2) {
            double t = n->seconds > 0 ? n2->seconds / n->seconds : 0;
            bool ok = t <= 2.2;
            missed += !ok;
            std::printf("%s: time 2N / N = %.2f (goal <= 2.20): %s\n", kind.c_str(), t, ok ? "met" : "MISSED");
            bool mem = n2->rssKb <= 200 * 1024;
            missed += !mem;
            std::printf("%s: peak RSS at 2N %.0f MB (goal <= 200 MB): %s; RSS 2N / N = %.2f (rows 2N / N = %.2f)\n",
                        kind.c_str(), n2->rssKb / 1024.0, mem ? "met" : "MISSED",
                        n->rssKb ? double(n2->rssKb) / n->rssKb : 0, n->rows ? double(n2->rows) / n->rows : 0);
        }
    }
    if (ownWork && !keep) fs::remove_all(work);
    else std::printf("work folder: %s\n", work.c_str());
    bool allRan = true;
    for (const auto& m : results) allRan = allRan && m.ok;
    return !allRan ? 2 : checkGoals && missed ? 1 : 0;
}
