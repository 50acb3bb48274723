// Joining speed of the codec library's merge jobs beside the ffmpeg tool and a plain file copy, measured
// the way a user's join runs.
//
//   bench_merge [work folder] [--runs N] [--only NAME] [--verify] [--ours]
//
// Work folder: default /tmp/rs-bench-merge; the clips are generated there once. Every side writes a new
// file: its previous output is deleted before its clock starts. The sides run interleaved (A B C, B C A ...)
// and each figure is the median of N rounds (default 5) with the fastest and slowest run beside it. Each
// run is a process of its own, so its peak memory is its own; our join waits on the job in 10 ms steps, as
// the program's merge driver does, and adds the next clip once the previous one is finished.
//
// Lossless sets (30 s clips, 1080p, 2 s key frame spacing, B-frames, AAC sound):
//   444p10-mp4    8 clips H.264 High 4:4:4 10-bit in MP4
//   444p10-mp4x32 the same 8 files listed 4 times (32 entries)
//   420p8-mp4     8 clips H.264 High 8-bit 4:2:0 in MP4
//   420p8-mkv     the same clips in Matroska
//   420p8-ts      the same clips in MPEG-TS
// Re-encoding set "encode": three 10 s 720p clips joined with libx264 (veryfast, 4 Mbit/s) and AAC
// (128 kbit/s) by a merge job and by the ffmpeg tool with the same settings.
//
// --ours: our lossless joins alone, each run printed as "run <seconds> cpu <seconds> switches <count>" (its
// process's CPU time and context switches); bench/pair.sh reads them.
// --verify: afterwards compares the packets of each lossless output with the packets of its sources
// (payload hashes, in order) and decodes the output, reporting any decoding error.
#include "rscodec.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Outputs carry the process id: two benchmarks sharing the clip folder never touch each other's outputs.
std::string runTag()
{
    return "." + std::to_string(getpid());
}

std::string shellQuoted(const std::string &path)
{
    std::string q = "'";
    for (char c : path)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

bool shell(const std::string &command)
{
    return std::system(command.c_str()) == 0;
}

std::string shellOutput(const std::string &command)
{
    std::string out;
    if (FILE *p = popen(command.c_str(), "r")) {
        char buf[65536];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0)
            out.append(buf, n);
        if (pclose(p) != 0)
            out.clear();
    }
    return out;
}

bool ensureFile(const std::string &path, const std::string &command)
{
    if (fs::exists(path))
        return true;
    std::printf("generating %s ...\n", path.c_str());
    std::fflush(stdout);
    const std::string partial = path + ".partial" + fs::path(path).extension().string();
    if (!shell(command + " " + shellQuoted(partial)))
        return false;
    fs::rename(partial, path);
    return true;
}

struct Sample
{
    double seconds = -1;
    long peakKb = 0;
    double cpuSeconds = 0;    // user and system time of the run's process
    long contextSwitches = 0; // its threads' voluntary and involuntary switches
};

Sample sampleOf(double seconds, const rusage &ru)
{
    const auto secs = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return {seconds, ru.ru_maxrss, secs(ru.ru_utime) + secs(ru.ru_stime), ru.ru_nvcsw + ru.ru_nivcsw};
}

// Our join in a child process: the timing covers creating the job to closing it, as the program's user
// waits for it; the peak memory is the child's.
Sample runOurs(const std::vector<std::string> &clips, const std::string &out, const std::string &container,
               bool lossless)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        rsc_edit *edit = nullptr;
        if (!lossless) {
            edit = rsc_edit_create();
            rsc_edit_set_video_bit_rate(edit, 4000000);
            rsc_edit_set_audio_bit_rate(edit, 128000);
            rsc_edit_set_video_quality(edit, 2); // exactly the given bit rates, as the ffmpeg tool does
            rsc_edit_set_encoder_options(edit, "preset=veryfast");
        }
        const auto start = Clock::now();
        rsc_job *job =
            lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
        bool ok = rsc_job_open_output(job, out.c_str(), container.c_str(), edit) == 1 && rsc_job_start(job) == 1;
        for (const std::string &clip : clips) {
            if (!ok)
                break;
            ok = rsc_job_add_task(job, clip.c_str(), 0, 0, edit) == 1;
            while (ok && !rsc_job_is_finished(job))
                rsc_job_wait(job, 10);
            ok = ok && !rsc_job_is_failed(job);
        }
        ok = rsc_job_close(job) == 1 && ok;
        const double t = seconds(start);
        if (!ok)
            std::fprintf(stderr, "merge job failed: %s\n", rsc_job_error(job));
        rsc_job_release(job);
        if (edit)
            rsc_edit_release(edit);
        const double result = ok ? t : -1.0;
        (void)!write(fds[1], &result, sizeof result);
        _exit(ok ? 0 : 1);
    }
    close(fds[1]);
    double t = -1;
    if (read(fds[0], &t, sizeof t) != sizeof t)
        t = -1;
    close(fds[0]);
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return sampleOf(t, ru);
}

// A command in a child process, its standard output into `stdoutPath` when given.
Sample runCommand(const std::vector<std::string> &argv, const std::string &stdoutPath = std::string())
{
    std::fflush(stdout);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!stdoutPath.empty()) {
            const int fd = open(stdoutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0 || dup2(fd, 1) < 0)
                _exit(127);
        }
        std::vector<char *> args;
        for (const std::string &a : argv)
            args.push_back(const_cast<char *>(a.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    const double t = seconds(start);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return sampleOf(t, ru);
}

struct Side
{
    std::string name;
    std::string output;
    std::function<Sample()> once;
    std::vector<Sample> samples;
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? -1 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Stats
{
    double median = -1, min = -1, max = -1;
    long peakKb = 0;
};

Stats statsOf(const std::vector<Sample> &samples)
{
    std::vector<double> t;
    Stats s;
    for (const Sample &x : samples) {
        t.push_back(x.seconds);
        s.peakKb = std::max(s.peakKb, x.peakKb);
    }
    if (t.empty())
        return s;
    s.median = median(t);
    s.min = *std::min_element(t.begin(), t.end());
    s.max = *std::max_element(t.begin(), t.end());
    return s;
}

// Runs the sides interleaved, `rounds` times, each round starting one side later (A B C, B C A ...) so
// no side always follows the same one; false when any run failed.
bool interleaved(std::vector<Side> &sides, int rounds)
{
    for (int r = 0; r < rounds; ++r) {
        for (size_t k = 0; k < sides.size(); ++k) {
            Side &side = sides[(k + size_t(r)) % sides.size()];
            fs::remove(side.output); // a new file for every side, deleted outside its timing
            const Sample s = side.once();
            if (s.seconds < 0) {
                std::printf("%s failed\n", side.name.c_str());
                return false;
            }
            side.samples.push_back(s);
        }
    }
    for (Side &side : sides)
        fs::remove(side.output);
    return true;
}

void report(const std::vector<Side> &sides)
{
    const Stats first = statsOf(sides.front().samples);
    for (const Side &side : sides) {
        const Stats s = statsOf(side.samples);
        std::printf("  %-30s %6.2f s [%.2f-%.2f]  peak %4ld MB", side.name.c_str(), s.median, s.min, s.max,
                    s.peakKb / 1024);
        if (&side != &sides.front())
            std::printf("   ours/this %.2fx", s.median > 0 ? first.median / s.median : 0.0);
        std::printf("\n");
    }
    std::fflush(stdout);
}

std::string concatList(const std::string &path, const std::vector<std::string> &clips)
{
    std::ofstream f(path);
    for (const std::string &c : clips)
        f << "file " << shellQuoted(c) << "\n";
    return path;
}

// Sizes and payload hashes of every packet of the video and first audio stream, in file order per stream.
std::map<int, std::vector<std::string>> packetHashes(const std::string &file)
{
    std::map<int, std::vector<std::string>> hashes;
    const std::string text = shellOutput("ffmpeg -hide_banner -nostdin -v error -i " + shellQuoted(file) +
                                         " -map 0:v:0 -map 0:a:0 -c copy -f framemd5 -");
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        // stream, dts, pts, duration, size, payload hash[, side data ...]
        std::vector<std::string> fields;
        std::istringstream parts(line);
        std::string field;
        while (std::getline(parts, field, ','))
            fields.push_back(field.substr(field.find_first_not_of(' ')));
        if (fields.size() >= 6)
            hashes[std::atoi(fields[0].c_str())].push_back(fields[4] + ":" + fields[5]);
    }
    return hashes;
}

void verify(const std::string &output, const std::vector<std::string> &clips)
{
    std::map<int, std::vector<std::string>> expected;
    std::map<std::string, std::map<int, std::vector<std::string>>> cache;
    for (const std::string &c : clips) {
        if (!cache.count(c))
            cache[c] = packetHashes(c);
        for (const auto &[stream, list] : cache[c])
            expected[stream].insert(expected[stream].end(), list.begin(), list.end());
    }
    const auto got = packetHashes(output);
    for (const auto &[stream, list] : expected) {
        const auto it = got.find(stream);
        const size_t n = it == got.end() ? 0 : it->second.size();
        const bool same = it != got.end() && it->second == list;
        std::printf("    stream %d: %zu packets of %zu, payloads %s\n", stream, n, list.size(),
                    same ? "identical" : "DIFFER");
    }
    const std::string errors =
        shellOutput("ffmpeg -hide_banner -nostdin -v error -i " + shellQuoted(output) + " -f null - 2>&1; echo rc=$?");
    std::printf("    decoding: %s\n", errors == "rc=0\n" ? "clean" : errors.c_str());
}

uintmax_t totalSize(const std::vector<std::string> &files)
{
    uintmax_t total = 0;
    for (const std::string &f : files)
        total += fs::file_size(f);
    return total;
}

struct LosslessSet
{
    std::string name;
    std::string description;
    std::string container; // our job's container name
    std::string extension;
    std::vector<std::string> clips;
};

const char *kGen = "ffmpeg -hide_banner -nostdin -v error -y ";

bool generate(const std::string &dir, std::vector<LosslessSet> &sets)
{
    const std::string av = "-f lavfi -i testsrc2=size=1920x1080:rate=30:duration=30 -f lavfi -i "
                           "sine=frequency=440:sample_rate=48000:duration=30 -c:a aac -b:a 192k -g 60 -bf 3 ";
    const std::string src444 = dir + "/src_444p10.mp4";
    const std::string src420 = dir + "/src_420p8.mp4";
    if (!ensureFile(src444, kGen + av +
                                "-c:v libx264 -preset veryfast -profile:v high444 -pix_fmt yuv444p10le -b:v 14M "
                                "-maxrate 16M -bufsize 16M") ||
        !ensureFile(src420, kGen + av +
                                "-c:v libx264 -preset veryfast -profile:v high -pix_fmt yuv420p -b:v 12M -maxrate 14M "
                                "-bufsize 14M"))
        return false;
    const std::string ts420 = dir + "/src_420p8.ts";
    const std::string mkv420 = dir + "/src_420p8.mkv";
    if (!ensureFile(mkv420, kGen + std::string("-i ") + shellQuoted(src420) + " -c copy") ||
        !ensureFile(ts420, kGen + std::string("-i ") + shellQuoted(src420) + " -c copy"))
        return false;
    // Eight distinct files per set (the page cache holds each one separately).
    auto copies = [&](const std::string &source, const std::string &stem) {
        std::vector<std::string> list;
        for (int i = 1; i <= 8; ++i) {
            const std::string copy = dir + "/" + stem + "_" + std::to_string(i) + fs::path(source).extension().string();
            if (!fs::exists(copy))
                fs::copy_file(source, copy);
            list.push_back(copy);
        }
        return list;
    };
    const auto c444 = copies(src444, "c444p10");
    std::vector<std::string> c444x32;
    for (int k = 0; k < 4; ++k)
        c444x32.insert(c444x32.end(), c444.begin(), c444.end());
    sets = {
        {"444p10-mp4", "8 x 30 s 1080p30 H.264 High 4:4:4 10-bit + AAC, MP4", "mp4", ".mp4", c444},
        {"444p10-mp4x32", "the same 8 files listed 4 times (32 entries)", "mp4", ".mp4", c444x32},
        {"420p8-mp4", "8 x 30 s 1080p30 H.264 High 8-bit 4:2:0 + AAC, MP4", "mp4", ".mp4", copies(src420, "c420p8")},
        {"420p8-mkv", "the same clips in Matroska", "matroska", ".mkv", copies(mkv420, "c420p8")},
        {"420p8-ts", "the same clips in MPEG-TS", "mpegts", ".ts", copies(ts420, "c420p8")},
    };
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    std::string dir = "/tmp/rs-bench-merge";
    std::string only;
    int rounds = 5;
    bool check = false;
    bool oursAlone = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc)
            rounds = std::max(1, std::atoi(argv[++i]));
        else if (a == "--only" && i + 1 < argc)
            only = argv[++i];
        else if (a == "--verify")
            check = true;
        else if (a == "--ours")
            oursAlone = true;
        else
            dir = a;
    }
    fs::create_directories(dir);
    std::vector<LosslessSet> sets;
    if (!generate(dir, sets))
        return 1;
    std::printf("%u cores, load average at start: %s", std::thread::hardware_concurrency(),
                shellOutput("cut -d' ' -f1-3 /proc/loadavg").c_str());
    std::printf("each figure: median [min-max] of %d interleaved rounds; peak = largest peak resident memory\n",
                rounds);

    bool ok = true;
    for (const LosslessSet &set : sets) {
        if (!only.empty() && only != set.name)
            continue;
        const std::vector<std::string> &clips = set.clips;
        std::printf("\nlossless %s: %s, %.0f MB\n", set.name.c_str(), set.description.c_str(), totalSize(clips) / 1e6);
        const std::string list = concatList(dir + "/concat_" + set.name + ".txt", clips);
        const std::string ours = dir + "/joined_ours" + runTag() + set.extension;
        const std::string theirs = dir + "/joined_ffmpeg" + runTag() + set.extension;
        const std::string copied = dir + "/joined_cat" + runTag() + ".bin";
        const std::string synced = dir + "/joined_cat_synced" + runTag() + ".bin";
        std::vector<std::string> catArgs = {"cat"};
        catArgs.insert(catArgs.end(), clips.begin(), clips.end());
        std::string catCommand = "cat";
        for (const std::string &c : clips)
            catCommand += " " + shellQuoted(c);
        runCommand(catArgs, "/dev/null"); // every side reads from the page cache
        if (oursAlone) {
            for (int r = 0; r < rounds && ok; ++r) {
                fs::remove(ours);
                const Sample s = runOurs(clips, ours, set.container, true);
                ok = s.seconds >= 0;
                std::printf("  run %.4f cpu %.4f switches %ld\n", s.seconds, s.cpuSeconds, s.contextSwitches);
            }
            fs::remove(ours);
            continue;
        }
        std::vector<Side> sides = {
            {"ours (lossless merge job)", ours, [&] { return runOurs(clips, ours, set.container, true); }, {}},
            {"ffmpeg -f concat -c copy",
             theirs,
             [&] {
                 return runCommand({"ffmpeg", "-hide_banner", "-nostdin", "-v", "error", "-f", "concat", "-safe", "0",
                                    "-i", list, "-map", "0", "-c", "copy", theirs});
             },
             {}},
            {"cat > file", copied, [&] { return runCommand(catArgs, copied); }, {}},
            // Our join syncs its output before it takes its place (the file replaces an old one atomically):
            // the same copy with the same sync.
            {"cat > file; sync --data file",
             synced,
             [&] {
                 return runCommand(
                     {"sh", "-c", catCommand + " > " + shellQuoted(synced) + " && sync --data " + shellQuoted(synced)});
             },
             {}},
        };
        if (!interleaved(sides, rounds)) {
            ok = false;
            continue;
        }
        report(sides);
        if (check && set.name.find("x32") != std::string::npos) {
            std::printf("  (the same files as the 8-clip set: not checked again)\n");
        } else if (check) {
            std::printf("  checking the output of one more run of ours:\n");
            if (runOurs(clips, ours, set.container, true).seconds < 0)
                ok = false;
            else
                verify(ours, clips);
            fs::remove(ours);
        }
    }

    if (!oursAlone && (only.empty() || only == "encode")) {
        std::vector<std::string> small;
        for (int i = 1; i <= 3; ++i) {
            const std::string clip = dir + "/small_" + std::to_string(i) + ".mp4";
            if (!ensureFile(clip, kGen +
                                      std::string("-f lavfi -i testsrc2=size=1280x720:rate=25:duration=10 -f lavfi "
                                                  "-i sine=frequency=") +
                                      std::to_string(300 + 100 * i) +
                                      ":sample_rate=48000:duration=10 -c:v libx264 -preset veryfast -profile:v high "
                                      "-g 50 -bf 3 -pix_fmt yuv420p -c:a aac -b:a 128k"))
                return 1;
            small.push_back(clip);
        }
        const std::string list = concatList(dir + "/concat_encode.txt", small);
        const std::string ours = dir + "/encoded_ours" + runTag() + ".mp4";
        const std::string theirs = dir + "/encoded_ffmpeg" + runTag() + ".mp4";
        std::printf("\nre-encoding join: 3 x 10 s 720p25 H.264 + AAC to x264 veryfast 4 Mbit/s + AAC 128 kbit/s\n");
        std::vector<Side> sides = {
            {"ours (merge job)", ours, [&] { return runOurs(small, ours, "mp4", false); }, {}},
            {"ffmpeg -f concat",
             theirs,
             [&] {
                 return runCommand({"ffmpeg",  "-hide_banner", "-nostdin", "-v",   "error", "-f",
                                    "concat",  "-safe",        "0",        "-i",   list,    "-c:v",
                                    "libx264", "-preset",      "veryfast", "-b:v", "4M",    "-pix_fmt",
                                    "yuv420p", "-c:a",         "aac",      "-b:a", "128k",  theirs});
             },
             {}},
        };
        if (interleaved(sides, rounds))
            report(sides);
        else
            ok = false;
    }
    std::printf("\nload average at the end: %s", shellOutput("cut -d' ' -f1-3 /proc/loadavg").c_str());
    return ok ? 0 : 1;
}
