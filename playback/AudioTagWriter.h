#pragma once
// Writes audio tags into mp3, mp4/m4a, flac, ogg and wav files. The user's file is never edited in
// place: Open() copies it to a temporary file beside it, the fields are written into the copy, and
// Close() renames the copy over the original only when Save() succeeded. A failed write leaves the
// original untouched and removes the copy.
//
// The calls follow a fixed sequence: Create, Open (0 = opened), Prepare, SetField for each tag, Save,
// Close, Release (always, also after a failed open).

#include <QByteArray>
#include <QMap>
#include <QString>

#include <cstdint>

class AudioTagWriter
{
public:
    // Field ids.
    enum FieldId {
        Title = 0,
        Artist = 1,
        Album = 2,
        Genre = 3,
        Year = 4,
        Track = 5,
        Comment = 6,
        Copyright = 7,
        Cover = 9,
        AlbumArtist = 10,
        Composer = 11,
        Grouping = 12,
        Disc = 13,
    };
    enum FieldKind { KindText = 0, KindPicture = 1 };

    // One tag handed to SetField: text fields are UTF-32 (length in bytes, no terminating zero), the
    // cover is the picture file's bytes.
    struct Field
    {
        int32_t reserved = -1;
        int32_t id = 0;
        uint32_t kind = KindText;
        uint32_t length = 0;
        const void *data = nullptr;
    };

    static AudioTagWriter *Create();
    static void Release(AudioTagWriter *writer);

    // The target path as NUL-terminated UTF-32. 0 when the file could be copied for writing.
    int Open(const uint32_t *utf32Path);
    int Prepare();
    int SetField(const Field &field);
    // Writes the collected fields into the copy; 0 on success.
    int Save();
    // Replaces the original with the copy when Save() succeeded, else discards the copy; 0 when the
    // original now holds the new tags.
    int Close();

    // Whether the last Close() put the new tags into the original.
    bool committed() const { return m_committed; }

private:
    AudioTagWriter() = default;
    ~AudioTagWriter();
    void discardCopy();

    QString m_target;
    QString m_copy;
    QMap<int, QString> m_texts;
    QByteArray m_cover;
    bool m_saved = false;
    bool m_committed = false;
};
