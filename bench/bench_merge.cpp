// Joining speed of the codec library's merge jobs beside the ffmpeg tool and a plain file copy.
//
//   bench_merge [work folder]   (default /tmp/rs-bench-merge; the clips are generated there once)
//
// Lossless: four 1080p H.264/AAC clips of together more than 500 MB joined with a lossless merge job,
// with `ffmpeg -f concat -c copy` and with cp. Re-encoding: three 720p clips joined with libx264 (veryfast,
// 4 Mbit/s) and AAC (128 kbit/s), by a merge job and by the ffmpeg tool with the same settings.
#include "rscodec.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

bool run(const std::string &command)
{
    return std::system(command.c_str()) == 0;
}

std::string shellQuoted(const std::string &path)
{
    std::string q = "'";
    for (char c : path)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

bool ensureClip(const std::string &path, const std::string &ffmpegArgs)
{
    if (fs::exists(path))
        return true;
    std::printf("generating %s ...\n", path.c_str());
    std::fflush(stdout);
    const std::string partial = path + ".partial.mp4";
    if (!run("ffmpeg -hide_banner -nostdin -v error -y " + ffmpegArgs + " " + shellQuoted(partial)))
        return false;
    fs::rename(partial, path);
    return true;
}

// Runs a merge job over the clips; answers the seconds taken, negative on failure.
double mergeJob(bool lossless, const std::vector<std::string> &clips, const std::string &out, rsc_edit *openEdit)
{
    fs::remove(out);
    const auto start = Clock::now();
    rsc_job *job =
        lossless ? rsc_job_create_merge_lossless(RSC_CREATE_DEFAULT) : rsc_job_create_merge(RSC_CREATE_DEFAULT);
    bool ok = rsc_job_open_output(job, out.c_str(), "mp4", openEdit) == 1 && rsc_job_start(job) == 1;
    for (const std::string &clip : clips) {
        if (!ok)
            break;
        ok = rsc_job_add_task(job, clip.c_str(), 0, 0, openEdit) == 1;
        while (ok && !rsc_job_is_finished(job))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        ok = ok && !rsc_job_is_failed(job);
    }
    ok = rsc_job_close(job) == 1 && ok;
    if (!ok)
        std::printf("merge job failed: %s\n", rsc_job_error(job));
    rsc_job_release(job);
    return ok ? seconds(start) : -1.0;
}

double timed(const std::string &command)
{
    const auto start = Clock::now();
    return run(command) ? seconds(start) : -1.0;
}

std::string concatList(const std::string &dir, const std::vector<std::string> &clips)
{
    const std::string list = dir + "/concat.txt";
    std::ofstream f(list);
    for (const std::string &c : clips)
        f << "file " << shellQuoted(c) << "\n";
    return list;
}

double best(int runs, const std::function<double()> &once)
{
    double b = -1;
    for (int i = 0; i < runs; ++i) {
        const double t = once();
        if (t < 0)
            return -1;
        b = b < 0 ? t : std::min(b, t);
    }
    return b;
}

void report(const char *what, double ours, const char *otherName, double other)
{
    std::printf("%-34s ours %7.2f s   %-16s %7.2f s   ratio %.2f\n", what, ours, otherName, other,
                other > 0 ? ours / other : 0.0);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string dir = argc > 1 ? argv[1] : "/tmp/rs-bench-merge";
    fs::create_directories(dir);

    // Lossless: one 60 s 1080p clip (about 145 MB), used four times.
    const std::string big = dir + "/big_1080p.mp4";
    if (!ensureClip(big, "-f lavfi -i testsrc2=size=1920x1080:rate=25:duration=60 -f lavfi -i "
                         "sine=frequency=440:sample_rate=48000:duration=60 -c:v libx264 -preset ultrafast "
                         "-b:v 24M -maxrate 24M -bufsize 8M -pix_fmt yuv420p -g 50 -c:a aac -b:a 192k"))
        return 1;
    std::vector<std::string> bigClips;
    uintmax_t total = 0;
    for (int i = 1; i <= 4; ++i) {
        const std::string copy = dir + "/big_" + std::to_string(i) + ".mp4";
        if (!fs::exists(copy))
            fs::copy_file(big, copy);
        bigClips.push_back(copy);
        total += fs::file_size(copy);
    }
    std::printf("lossless join of %zu clips, %.0f MB in all\n", bigClips.size(), total / 1e6);
    const std::string list = concatList(dir, bigClips);
    const std::string out = dir + "/joined.mp4";
    // Warm the page cache first so every contender reads from memory.
    std::string catArgs;
    for (const std::string &c : bigClips)
        catArgs += " " + shellQuoted(c);
    run("cat" + catArgs + " > /dev/null");
    const double ours = best(3, [&] { return mergeJob(true, bigClips, out, nullptr); });
    const double ffmpeg = best(3, [&] {
        return timed("ffmpeg -hide_banner -nostdin -v error -y -f concat -safe 0 -i " + shellQuoted(list) +
                     " -c copy " + shellQuoted(dir + "/joined_ffmpeg.mp4"));
    });
    const double copy = best(3, [&] { return timed("cat" + catArgs + " > " + shellQuoted(dir + "/joined_cp.bin")); });
    report("lossless join", ours, "ffmpeg concat", ffmpeg);
    report("lossless join", ours, "plain copy", copy);
    fs::remove(dir + "/joined_cp.bin");

    // Re-encoding: three 10 s 720p clips.
    std::vector<std::string> small;
    for (int i = 1; i <= 3; ++i) {
        const std::string clip = dir + "/small_" + std::to_string(i) + ".mp4";
        if (!ensureClip(clip, "-f lavfi -i testsrc2=size=1280x720:rate=25:duration=10 -f lavfi -i "
                              "sine=frequency=" +
                                  std::to_string(300 + 100 * i) +
                                  ":sample_rate=48000:duration=10 -c:v libx264 -preset ultrafast -pix_fmt yuv420p "
                                  "-c:a aac -b:a 128k"))
            return 1;
        small.push_back(clip);
    }
    const std::string smallList = concatList(dir, small);
    rsc_edit *edit = rsc_edit_create();
    rsc_edit_set_video_bit_rate(edit, 4000000);
    rsc_edit_set_audio_bit_rate(edit, 128000);
    rsc_edit_set_video_quality(edit, 2); // exactly the given bit rates, as the ffmpeg tool does
    rsc_edit_set_encoder_options(edit, "preset=veryfast");
    const double oursEnc = best(2, [&] { return mergeJob(false, small, dir + "/encoded.mp4", edit); });
    rsc_edit_release(edit);
    const double ffmpegEnc = best(2, [&] {
        return timed("ffmpeg -hide_banner -nostdin -v error -y -f concat -safe 0 -i " + shellQuoted(smallList) +
                     " -c:v libx264 -preset veryfast -b:v 4M -pix_fmt yuv420p -c:a aac -b:a 128k " +
                     shellQuoted(dir + "/encoded_ffmpeg.mp4"));
    });
    report("re-encoding join (x264 veryfast)", oursEnc, "ffmpeg", ffmpegEnc);
    return ours > 0 && ffmpeg > 0 && oursEnc > 0 && ffmpegEnc > 0 ? 0 : 1;
}
