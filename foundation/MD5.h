#pragma once
// MD5 message digest (RFC 1321), rendered as 32 lower-case hex characters. Names thumbnail cache files.

#include <cstdint>
#include <ostream>
#include <string>

class MD5
{
public:
    MD5();
    explicit MD5(const std::string &text);

    void init();
    void update(const unsigned char *input, unsigned int length);
    void update(const char *input, unsigned int length);
    MD5 &finalize();
    // Empty until finalize() ran.
    std::string hexdigest() const;
    std::string md5() const { return hexdigest(); }

private:
    static constexpr unsigned int kBlockSize = 64;

    void transform(const uint8_t block[kBlockSize]);
    static void decode(uint32_t output[], const uint8_t input[], unsigned int length);
    static void encode(uint8_t output[], const uint32_t input[], unsigned int length);

    bool m_finalized = false;
    uint8_t m_buffer[kBlockSize] = {};
    uint32_t m_count[2] = {0, 0}; // bit count, low word first
    uint32_t m_state[4] = {};
    uint8_t m_digest[16] = {};
};

std::ostream &operator<<(std::ostream &out, const MD5 &md5);
