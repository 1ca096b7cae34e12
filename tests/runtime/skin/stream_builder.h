// Builds packed blocks token by token for the decoder tests: bits go into
// 32-bit little-endian words from bit 31 down, as the decoder reads them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class StreamBuilder {
public:
    StreamBuilder& bits(uint32_t value, unsigned count)
    {
        while (count--)
            bit_list_.push_back(value >> count & 1);
        return *this;
    }
    StreamBuilder& gamma(uint32_t value)
    {
        unsigned top = 31;
        while (!(value >> top & 1))
            --top;
        while (top--)
            bits(value >> top & 1, 1).bits(top > 0, 1);
        return *this;
    }
    StreamBuilder& literal_mode8() { return bits(0b001000001, 9); }
    StreamBuilder& literal_mode7(uint8_t base) { return bits(0b001000000, 9).bits(base, 8); }
    StreamBuilder& literal(uint32_t value, unsigned width = 8) { return bits(1, 1).bits(value, width); }
    StreamBuilder& text(const std::string& s)
    {
        for (unsigned char c : s)
            literal(c);
        return *this;
    }
    StreamBuilder& short_match(uint32_t distance, uint32_t length)
    {
        return bits(0, 3).bits(distance, 7).bits(length - 2, 2);
    }
    StreamBuilder& far_match(uint32_t high, uint32_t low, unsigned index_width, uint32_t length_code)
    {
        return bits(0b01, 2).gamma(high + 3).bits(low, index_width).gamma(length_code);
    }
    StreamBuilder& repeat(uint32_t length) { return bits(0b01, 2).gamma(2).gamma(length); }
    StreamBuilder& zero() { return bits(0b0010001, 7); }
    StreamBuilder& near_copy(uint32_t distance) { return bits(0b001, 3).bits(distance + 1, 4); }
    StreamBuilder& index_width(uint32_t m, uint32_t width) { return bits(0, 10).bits(m, 2).bits(width, m + 3); }
    // Raw run of whole 256-byte chunks, byte k of the run being fill(k).
    template <class Fill>
    StreamBuilder& raw(uint32_t chunks, Fill fill)
    {
        bits(0b00100001, 8);
        for (uint32_t c = 0; c < chunks; ++c) {
            for (uint32_t k = 0; k < 256; ++k)
                bits(fill(c * 256 + k), 8);
            bits(c + 1 < chunks, 1);
        }
        return *this;
    }
    StreamBuilder& end() { return bits(0, 12); }

    // Header and the stream padded to whole words.
    std::vector<uint8_t> block(uint32_t size, uint32_t checksum = 0) const
    {
        std::vector<uint8_t> out = {'J', 'C'};
        put32(out, size);
        put32(out, checksum);
        std::vector<uint8_t> stream_bits = bit_list_;
        while (stream_bits.size() % 32)
            stream_bits.push_back(0);
        for (size_t w = 0; w < stream_bits.size(); w += 32) {
            uint32_t word = 0;
            for (size_t k = 0; k < 32; ++k)
                word = word << 1 | stream_bits[w + k];
            put32(out, word);
        }
        return out;
    }

private:
    static void put32(std::vector<uint8_t>& out, uint32_t v)
    {
        for (int k = 0; k < 4; ++k)
            out.push_back(uint8_t(v >> (8 * k)));
    }
    std::vector<uint8_t> bit_list_;
};
