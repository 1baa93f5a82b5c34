#pragma once
// Walks a record of little-endian 32-bit words in layout order, reading or writing, so that
// one function per record describes both directions.
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "platform/byte_io.h"

namespace sulcan {

template <bool Writing>
class WordCodec {
public:
    using Ptr = std::conditional_t<Writing, uint8_t*, const uint8_t*>;
    explicit WordCodec(Ptr p) : p_(p) {}
    void I(int32_t& v) {
        if constexpr (Writing) PutLE32(p_, uint32_t(v));
        else v = int32_t(GetLE32(p_));
        p_ += 4;
    }
    void F(float& v) {
        if constexpr (Writing) PutLE32(p_, FloatBits(v));
        else v = BitsFloat(GetLE32(p_));
        p_ += 4;
    }
    void Fs(float* v, int n) {
        for (int i = 0; i < n; ++i) F(v[i]);
    }
    void Chars(char* v, int n) {
        if constexpr (Writing) std::memcpy(p_, v, n);
        else std::memcpy(v, p_, n);
        p_ += n;
    }

private:
    Ptr p_;
};

// Encode, Decode and byte-wise equality of a record type whose static
// `template <bool W> static void Walk(WordCodec<W>&, Record&)` lists its fields.
template <typename Record>
void EncodeRecord(const Record& r, uint8_t* out) {
    WordCodec<true> c(out);
    Record copy = r;
    Record::Walk(c, copy);
}
template <typename Record>
Record DecodeRecord(const uint8_t* in) {
    WordCodec<false> c(in);
    Record r;
    Record::Walk(c, r);
    return r;
}
template <typename Record>
bool SameRecordBytes(const Record& a, const Record& b) {
    uint8_t x[Record::kBytes], y[Record::kBytes];
    EncodeRecord(a, x);
    EncodeRecord(b, y);
    return std::memcmp(x, y, Record::kBytes) == 0;
}

}  // namespace sulcan
