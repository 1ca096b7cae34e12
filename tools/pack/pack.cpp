// Packer: finds matches with hash chains, chooses tokens by the cheapest bit
// count to every position (a forward optimal parse that carries the last
// distance along the chosen path), then writes the token stream.
#include "tools/pack/pack.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "runtime/skin/packed_block.h"

namespace {

enum TokenKind : uint8_t { LITERAL, ZERO, NEAR, SHORT, REPEAT, FAR, RAW };

struct Token {
    TokenKind kind;
    uint32_t length;
    uint32_t distance;
};

const int MAX_HASH_BITS = 17;  // small inputs get smaller tables
const int CHAIN_DEPTH = 48;
const uint32_t NICE_LENGTH = 192;  // longer matches are taken at once
const uint32_t RAW_CHUNK = 256;
const uint32_t RAW_CHUNK_COST = 8 * RAW_CHUNK + 1;
const uint32_t RAW_START_COST = 8;
const uint32_t DEFAULT_INDEX_WIDTH = 8;

unsigned gamma_bits(uint64_t value)
{
    unsigned bits = 0;
    while (value > 1) {
        value >>= 1;
        bits += 2;
    }
    return bits;
}

uint32_t far_extra(uint32_t distance)
{
    if (distance >= 0x10000) return 3;
    if (distance >= 0x37FF) return 2;
    if (distance >= 0x27F) return 1;
    if (distance >= 0x80) return 0;
    return 4;
}

// Bit count of a match of `length` at `distance`, or 0 if no token fits.
uint32_t match_cost(uint32_t distance, uint32_t length, uint32_t index_width)
{
    if (distance <= 127 && length <= 5)
        return length >= 2 ? 12 : 0;
    uint32_t extra = far_extra(distance);
    if (length < extra + 2)
        return 0;
    return 2 + gamma_bits((distance >> index_width) + 3) + index_width + gamma_bits(length - extra);
}

uint32_t repeat_cost(uint32_t length) { return 4 + gamma_bits(length); }

struct Candidate {
    uint32_t length;
    uint32_t distance;
};

class MatchFinder {
public:
    MatchFinder(const uint8_t* data, size_t size)
        : data_(data), size_(size), hash_bits_(hash_bits_for(size)), head_(size_t(1) << hash_bits_, -1),
          chain_(size, -1), pair_(size_t(1) << std::min(hash_bits_, 16), -1)
    {
    }

    // Matches at position i, longest last, each the nearest of its length;
    // then i joins the chains.
    void find(size_t i, std::vector<Candidate>& out)
    {
        out.clear();
        if (i + 2 > size_)
            return;
        uint32_t best = 1;
        int32_t p = pair_[pair_slot(i)];
        uint32_t near = p >= 0 && i - p <= 127 ? length_at(i, p) : 0;
        if (near >= 2) {
            best = near;
            out.push_back({best, uint32_t(i - p)});
        }
        if (i + 3 <= size_) {
            int depth = CHAIN_DEPTH;
            for (int32_t q = head_[hash(i)]; q >= 0 && depth-- > 0; q = chain_[q]) {
                if (i + best < size_ && data_[q + best] != data_[i + best])
                    continue;
                uint32_t len = length_at(i, q);
                if (len > best) {
                    best = len;
                    out.push_back({len, uint32_t(i - q)});
                    if (i + len == size_)
                        break;
                }
            }
        }
        insert(i);
    }

    void insert(size_t i)
    {
        if (i + 2 > size_)
            return;
        pair_[pair_slot(i)] = int32_t(i);
        if (i + 3 > size_)
            return;
        uint32_t h = hash(i);
        chain_[i] = head_[h];
        head_[h] = int32_t(i);
    }

    uint32_t length_at(size_t i, size_t earlier) const
    {
        size_t n = 0;
        size_t limit = size_ - i;
        while (n < limit && data_[earlier + n] == data_[i + n])
            ++n;
        return uint32_t(n);
    }

private:
    static int hash_bits_for(size_t size)
    {
        int bits = 8;
        while (bits < MAX_HASH_BITS && (size_t(1) << bits) < size)
            ++bits;
        return bits;
    }

    // The last place of each byte pair (shared by pairs when the table is
    // small), for the two-byte matches that the three-byte chains miss.
    uint32_t pair_slot(size_t i) const
    {
        uint32_t v = uint32_t(data_[i]) << 8 | data_[i + 1];
        return hash_bits_ >= 16 ? v : (v * 2654435761u) >> (32 - hash_bits_);
    }

    uint32_t hash(size_t i) const
    {
        uint32_t v = uint32_t(data_[i]) | uint32_t(data_[i + 1]) << 8 | uint32_t(data_[i + 2]) << 16;
        return (v * 2654435761u) >> (32 - hash_bits_);
    }

    const uint8_t* data_;
    size_t size_;
    int hash_bits_;
    std::vector<int32_t> head_;
    std::vector<int32_t> chain_;
    std::vector<int32_t> pair_;
};

const uint32_t UNREACHED = 0xFFFFFFFF;

struct Arrival {
    uint32_t cost;
    uint32_t from;
    uint32_t from_way;
    Token token;
    uint32_t last_distance;
};

// Two ways to reach a position, with different last distances: a path that
// paid a little more for keeping a useful distance can still win through a
// cheap repeat later.
struct Position {
    Arrival way[2];

    void arrive(const Arrival& a)
    {
        for (Arrival& w : way) {
            if (w.cost != UNREACHED && w.last_distance == a.last_distance) {
                if (a.cost < w.cost)
                    w = a;
                return;
            }
        }
        Arrival& worse = way[0].cost > way[1].cost ? way[0] : way[1];
        if (a.cost < worse.cost)
            worse = a;
    }
    uint32_t cheapest() const { return way[0].cost <= way[1].cost ? 0 : 1; }
};

// Cheapest single-byte token at i: zero byte, a copy from 1 to 14 back, or
// a literal.
Token single_byte(const uint8_t* data, size_t i, uint32_t* cost)
{
    *cost = 7;
    if (data[i] == 0)
        return {ZERO, 1, 0};
    for (uint32_t d = 1; d <= 14 && d <= i; ++d)
        if (data[i - d] == data[i])
            return {NEAR, 1, d};
    *cost = 9;
    return {LITERAL, 1, 0};
}

Token match_token(uint32_t distance, uint32_t length)
{
    return {distance <= 127 && length <= 5 ? SHORT : FAR, length, distance};
}

std::vector<Token> parse(const uint8_t* data, size_t size, uint32_t index_width)
{
    const Arrival none = {UNREACHED, 0, 0, {LITERAL, 0, 0}, 1};
    std::vector<Position> at(size + 1, Position{{none, none}});
    at[0].way[0].cost = 0;
    MatchFinder finder(data, size);
    std::vector<Candidate> candidates;
    for (size_t i = 0; i < size; ++i) {
        auto relax = [&at, i](uint32_t way, size_t to, uint32_t cost, Token token, uint32_t last) {
            at[to].arrive({at[i].way[way].cost + cost, uint32_t(i), way, token, last});
        };
        finder.find(i, candidates);
        uint32_t longest = candidates.empty() ? 0 : candidates.back().length;
        size_t skip = 0;  // a long match taken at once
        uint32_t way = at[i].cheapest();
        for (uint32_t w = 0; w < 2; ++w) {
            if (at[i].way[w].cost == UNREACHED)
                continue;
            uint32_t last = at[i].way[w].last_distance;
            uint32_t cost;
            Token one = single_byte(data, i, &cost);
            relax(w, i + 1, cost, one, last);
            if (last > i)
                continue;
            uint32_t rep = finder.length_at(i, i - last);
            if (rep >= NICE_LENGTH) {
                relax(w, i + rep, repeat_cost(rep), {REPEAT, rep, last}, last);
                if (w == way && rep >= longest)
                    skip = rep;
                continue;
            }
            for (uint32_t len = 2; len <= rep; ++len)
                relax(w, i + len, repeat_cost(len), {REPEAT, len, last}, last);
        }
        // A match sets the distance, so only the cheaper way matters.
        if (!skip && longest >= NICE_LENGTH) {
            const Candidate& c = candidates.back();
            relax(way, i + c.length, match_cost(c.distance, c.length, index_width),
                  match_token(c.distance, c.length), c.distance);
            skip = c.length;
        } else if (!skip) {
            uint32_t len = 2;
            for (const Candidate& c : candidates) {
                for (; len <= c.length; ++len) {
                    uint32_t mc = match_cost(c.distance, len, index_width);
                    if (mc)
                        relax(way, i + len, mc, match_token(c.distance, len), c.distance);
                }
            }
        }
        if (skip) {
            for (size_t k = i + 1; k < i + skip; ++k)
                finder.insert(k);
            i += skip - 1;
        }
    }
    std::vector<Token> tokens;
    for (size_t i = size, way = at[size].cheapest(); i > 0;) {
        const Arrival& a = at[i].way[way];
        tokens.push_back(a.token);
        i = a.from;
        way = a.from_way;
    }
    std::reverse(tokens.begin(), tokens.end());
    return tokens;
}

uint32_t token_cost(const Token& t, uint32_t index_width)
{
    switch (t.kind) {
    case LITERAL: return 9 * t.length;
    case ZERO:
    case NEAR: return 7;
    case REPEAT: return repeat_cost(t.length);
    case RAW: return RAW_START_COST + t.length / RAW_CHUNK * RAW_CHUNK_COST;
    case SHORT:
    case FAR: return match_cost(t.distance, t.length, index_width);
    }
    return 0;
}

// Raw chunks replace the tokens of the next 256 bytes wherever those cost
// more (incompressible stretches). A token cut by a chunk's end leaves its
// remaining bytes as literals, which the comparison counts.
std::vector<Token> merge_raw_runs(std::vector<Token> tokens)
{
    std::vector<Token> out;
    uint32_t run = 0;
    size_t i = 0;
    while (i < tokens.size()) {
        uint64_t bytes = 0;
        uint64_t cost = 0;
        size_t k = i;
        while (k < tokens.size() && bytes < RAW_CHUNK) {
            cost += token_cost(tokens[k], DEFAULT_INDEX_WIDTH);
            bytes += tokens[k++].length;
        }
        uint64_t left = bytes - RAW_CHUNK;
        if (bytes >= RAW_CHUNK && cost > RAW_CHUNK_COST + (run ? 0 : RAW_START_COST) + 9 * left) {
            run += RAW_CHUNK;
            i = k;
            if (left)
                tokens[--i] = {LITERAL, uint32_t(left), 0};
            continue;
        }
        if (run)
            out.push_back({RAW, run, 0});
        run = 0;
        out.push_back(tokens[i++]);
    }
    if (run)
        out.push_back({RAW, run, 0});
    return out;
}

// A repeat whose distance was set by a short match that went out raw names
// its distance plainly instead, or becomes literals when no token fits.
std::vector<Token> fix_repeats(const std::vector<Token>& tokens, uint32_t index_width)
{
    std::vector<Token> out;
    uint32_t last = 1;  // the decoder's starting distance
    for (const Token& t : tokens) {
        if (t.kind == REPEAT && t.distance != last) {
            if (match_cost(t.distance, t.length, index_width)) {
                out.push_back(match_token(t.distance, t.length));
                last = t.distance;
            } else {
                out.push_back({LITERAL, t.length, 0});
            }
            continue;
        }
        if (t.kind == SHORT || t.kind == FAR)
            last = t.distance;
        out.push_back(t);
    }
    return out;
}

class BitWriter {
public:
    void bits(uint32_t value, unsigned count)
    {
        while (count--) {
            acc_ = acc_ << 1 | (value >> count & 1);
            if (++filled_ == 32)
                flush_word();
        }
    }
    void gamma(uint32_t value)
    {
        unsigned top = 31;
        while (!(value >> top & 1))
            --top;
        while (top--) {
            bits(value >> top & 1, 1);
            bits(top > 0 ? 1 : 0, 1);
        }
    }
    std::vector<uint8_t> finish(std::vector<uint8_t> out)
    {
        if (filled_) {
            acc_ <<= 32 - filled_;
            flush_word();
        }
        out.insert(out.end(), bytes_.begin(), bytes_.end());
        return out;
    }

private:
    void flush_word()
    {
        for (int k = 0; k < 4; ++k)
            bytes_.push_back(uint8_t(acc_ >> (8 * k)));
        acc_ = 0;
        filled_ = 0;
    }
    uint32_t acc_ = 0;
    unsigned filled_ = 0;
    std::vector<uint8_t> bytes_;
};

void write_token(BitWriter& w, const Token& t, const uint8_t* data, size_t at, uint32_t index_width)
{
    switch (t.kind) {
    case LITERAL:
        for (uint32_t k = 0; k < t.length; ++k) {
            w.bits(1, 1);
            w.bits(data[at + k], 8);
        }
        break;
    case ZERO:
        w.bits(0b0010001, 7);
        break;
    case NEAR:
        w.bits(0b001, 3);
        w.bits(t.distance + 1, 4);
        break;
    case SHORT:
        w.bits(0b000, 3);
        w.bits(t.distance, 7);
        w.bits(t.length - 2, 2);
        break;
    case REPEAT:
        w.bits(0b01, 2);
        w.gamma(2);
        w.gamma(t.length);
        break;
    case FAR:
        w.bits(0b01, 2);
        w.gamma((t.distance >> index_width) + 3);
        w.bits(t.distance & ((1u << index_width) - 1), index_width);
        w.gamma(t.length - far_extra(t.distance));
        break;
    case RAW:
        w.bits(0b00100001, 8);
        for (uint32_t k = 0; k < t.length; ++k) {
            w.bits(data[at + k], 8);
            if ((k + 1) % RAW_CHUNK == 0)
                w.bits(k + 1 < t.length ? 1 : 0, 1);
        }
        break;
    }
}

void put32(std::vector<uint8_t>& out, uint32_t v)
{
    for (int k = 0; k < 4; ++k)
        out.push_back(uint8_t(v >> (8 * k)));
}

// The index width that makes the chosen far matches cheapest: a first parse
// with the default width, re-priced under each width the stream can set.
uint32_t best_index_width(const std::vector<Token>& tokens)
{
    uint32_t best = DEFAULT_INDEX_WIDTH;
    uint64_t best_cost = UINT64_MAX;
    for (uint32_t width = 1; width <= 20; ++width) {
        uint64_t cost = width == DEFAULT_INDEX_WIDTH ? 0 : 12 + (width < 16 ? 4 : 5);
        for (const Token& t : tokens)
            cost += t.kind == FAR ? match_cost(t.distance, t.length, width) : 0;
        if (cost < best_cost) {
            best_cost = cost;
            best = width;
        }
    }
    return best;
}

// Most bytes a stream of `words` 32-bit words can unpack to. A token of t
// bits writes at most 2^(t/2) bytes (a gamma length of 2j bits counts below
// 2^(j+1)), and 2^(a/2) + 2^(b/2) <= 2^((a+b)/2) for tokens of 2 bits or
// more: 2^(16 words) in all. From four words on, no 32-bit size is beyond.
uint64_t unpacked_size_limit(size_t words)
{
    return words >= 4 ? UINT64_MAX : uint64_t(1) << (16 * words);
}

}  // namespace

std::vector<uint8_t> pack_block(const void* data, size_t size)
{
    if (size > PACK_SIZE_MAX)
        return {};
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    std::vector<Token> tokens = parse(bytes, size, DEFAULT_INDEX_WIDTH);
    uint32_t index_width = best_index_width(tokens);
    if (index_width != DEFAULT_INDEX_WIDTH)
        tokens = parse(bytes, size, index_width);
    tokens = fix_repeats(merge_raw_runs(tokens), index_width);

    BitWriter w;
    w.bits(0b0010000, 7);  // literal mode: plain 8-bit literals
    w.bits(0b01, 2);
    if (index_width != DEFAULT_INDEX_WIDTH) {
        uint32_t m = index_width < 16 ? 1 : 2;
        w.bits(0, 3 + 7);
        w.bits(m, 2);
        w.bits(index_width, m + 3);
    }
    size_t at = 0;
    for (const Token& t : tokens) {
        write_token(w, t, bytes, at, index_width);
        at += t.length;
    }
    w.bits(0, 12);  // end of stream

    std::vector<uint8_t> header = {'J', 'C'};
    put32(header, uint32_t(size));
    put32(header, packed_block_checksum(bytes, size));
    return w.finish(std::move(header));
}

bool unpack_block(const std::vector<uint8_t>& block, std::vector<uint8_t>& out, const char** why)
{
    out.clear();
    auto refuse = [why](const char* reason) {
        if (why)
            *why = reason;
        return false;
    };
    if (block.size() < PACKED_BLOCK_HEADER_SIZE || block[0] != 'J' || block[1] != 'C')
        return refuse("has no packed-block header");
    uint64_t size = packed_block_size(block.data());
    if (size > unpacked_size_limit((block.size() - PACKED_BLOCK_HEADER_SIZE) / 4))
        return refuse("claims more bytes than its stream can make");
    if (size > PACK_SIZE_MAX)
        return refuse("claims more than 2 GiB");
    // The claimed bytes are only reserved: their pages are taken as the
    // decoder writes, so a false claim costs nothing before it is refused.
    // One more, so that an empty block has a place to write to.
    std::unique_ptr<uint8_t, void (*)(void*)> space(static_cast<uint8_t*>(malloc(size_t(size) + 1)), free);
    if (!space)
        return refuse("claims more bytes than there is memory for");
    uint32_t written = 0;
    if (!packed_block_unpack_checked(block.data(), block.size(), space.get(), size_t(size), &written))
        return refuse("is not a sound packed block");
    out.assign(space.get(), space.get() + written);
    return true;
}
