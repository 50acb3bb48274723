#pragma once
// The preview strip's thumbnails: still frames of a clip taken with the codec library's information
// object at tenths of its duration, each fitted into 200 x 200. Plain functions, safe on a worker thread
// (they touch no widget and no clip item).

#include <QImage>
#include <QList>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

struct rsc_info;

namespace PreviewThumbnails {

constexpr int kCount = 10;
constexpr int kMaxSide = 200;

// The size a frame is asked at: the video's size with its display aspect applied by shortening one
// side, then fitted into kMaxSide x kMaxSide (the library scales far faster than decoding full frames
// and scaling them here). An empty size when the video has none.
QSize requestSize(uint32_t width, uint32_t height, uint32_t aspectX, uint32_t aspectY);

// One frame near `time` from an open information object; null when there is none or it does not decode.
// A source that cannot seek gives its first frame.
QImage grabFrame(rsc_info *info, uint64_t time);

// Opens `path`, takes up to kCount frames at duration x i / kCount and calls `progress` with the list so
// far after each step (also after a frame that gave nothing). Stops before the next frame once `cancel`
// is set. Answers the frames taken.
QList<QImage> extract(const QString &path, uint64_t duration, const std::atomic<bool> &cancel,
                      const std::function<void(const QList<QImage> &)> &progress);

} // namespace PreviewThumbnails
