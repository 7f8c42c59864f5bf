#pragma once

#include <QtGlobal>

#include <vector>

#include <zlib.h>

class QIODevice;

// Writes bytes into a PostScript file as the data of a
// "/ASCII85Decode filter /FlateDecode filter" pair: deflated with zlib (run-length
// matching only, quick on picture rows that carry a PNG predictor), then
// ASCII85 in short lines, ended by "~>". No line starts with "%", so the
// data never looks like a document structuring comment.
class FlateAscii85Writer
{
public:
    explicit FlateAscii85Writer(QIODevice* device);
    ~FlateAscii85Writer();
    FlateAscii85Writer(const FlateAscii85Writer&) = delete;
    FlateAscii85Writer& operator=(const FlateAscii85Writer&) = delete;

    bool Write(const char* bytes, qsizetype size);
    // Ends the data; false when anything on the way failed.
    bool Finish();

private:
    bool Deflate(const char* bytes, qsizetype size, int flush);
    void Encode(const unsigned char* bytes, qsizetype size);
    void EncodeGroup(const unsigned char* group, int size);
    void Put(char c);
    bool Drain(bool all);

    QIODevice* m_device;
    z_stream m_stream{};
    bool m_ready = false;
    bool m_failed = false;
    unsigned char m_group[4] = {};
    int m_groupSize = 0;
    int m_column = 0;
    std::vector<char> m_text; // ASCII85 waiting to be written
    std::size_t m_used = 0;
};
