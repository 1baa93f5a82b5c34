#pragma once
// Explicit little- and big-endian encoding, and FILE wrappers that remember the first error.
// Files are always written field by field through these, never by dumping structs.
#include <sys/stat.h>

#include <cerrno>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace sulcan {

inline void PutLE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void PutLE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}
inline void PutBE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v >> 8);
    p[1] = uint8_t(v);
}
inline void PutBE32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (24 - 8 * i));
}
inline uint16_t GetLE16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t GetLE32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint16_t GetBE16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }
inline uint32_t GetBE32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
// A 32-bit word read from big-endian bytes as they lie in memory, in host order.
inline int32_t FromBigEndian(int32_t stored) {
    if constexpr (std::endian::native == std::endian::little)
        return int32_t(__builtin_bswap32(uint32_t(stored)));
    return stored;
}
inline uint32_t FloatBits(float f) {
    uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}
inline float BitsFloat(uint32_t u) {
    float f;
    std::memcpy(&f, &u, 4);
    return f;
}

// Bytes between the position and the end of a regular file, or -1 when that cannot be known
// (a pipe, a device). Readers check it before allocating for a size a header claims.
inline long long BytesLeftInFile(std::FILE* f) {
    struct stat st;
    const long pos = std::ftell(f);
    if (pos < 0 || fstat(fileno(f), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    return (long long)st.st_size - pos;
}

// Owns a FILE*, closes it on destruction.
class File {
public:
    File() = default;
    File(const std::string& path, const char* mode) { Open(path, mode); }
    ~File() { Close(); }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    bool Open(const std::string& path, const char* mode) {
        Close();
        errno = 0;
        f_ = std::fopen(path.c_str(), mode);
        openError_ = f_ ? 0 : errno;
        return f_ != nullptr;
    }
    // Returns false when flushing buffered data failed.
    bool Close() {
        if (!f_) return true;
        bool ok = std::fclose(f_) == 0;
        f_ = nullptr;
        return ok;
    }
    std::FILE* get() const { return f_; }
    explicit operator bool() const { return f_ != nullptr; }
    int openError() const { return openError_; }

private:
    std::FILE* f_ = nullptr;
    int openError_ = 0;
};

// Sequential writer that stops at the first failure and keeps its errno.
class ByteWriter {
public:
    explicit ByteWriter(std::FILE* f) : f_(f) {}
    bool ok() const { return ok_; }
    int error() const { return error_; }

    bool Bytes(const void* data, size_t n) {
        if (!ok_) return false;
        if (n == 0) return true;
        errno = 0;
        if (std::fwrite(data, 1, n, f_) != n) Fail();
        return ok_;
    }
    bool Zeros(size_t n) {
        static const uint8_t zeros[256] = {};
        while (ok_ && n > 0) {
            size_t k = n < sizeof zeros ? n : sizeof zeros;
            Bytes(zeros, k);
            n -= k;
        }
        return ok_;
    }
    bool LE16(uint16_t v) {
        uint8_t b[2];
        PutLE16(b, v);
        return Bytes(b, 2);
    }
    bool LE32(uint32_t v) {
        uint8_t b[4];
        PutLE32(b, v);
        return Bytes(b, 4);
    }
    bool BE16(uint16_t v) {
        uint8_t b[2];
        PutBE16(b, v);
        return Bytes(b, 2);
    }
    bool BE32(uint32_t v) {
        uint8_t b[4];
        PutBE32(b, v);
        return Bytes(b, 4);
    }
    bool I32(int32_t v) { return LE32(uint32_t(v)); }
    bool F32(float v) { return LE32(FloatBits(v)); }
    // The string's bytes followed by one zero byte.
    bool CString(const std::string& s) { return Bytes(s.c_str(), s.size() + 1); }
    bool Text(const std::string& s) { return Bytes(s.data(), s.size()); }

private:
    void Fail() {
        ok_ = false;
        error_ = errno ? errno : EIO;
    }
    std::FILE* f_;
    bool ok_ = true;
    int error_ = 0;
};

// Sequential reader that fails on a short read and never reads past what it is asked for.
class ByteReader {
public:
    explicit ByteReader(std::FILE* f) : f_(f) {}
    bool ok() const { return ok_; }

    bool Bytes(void* data, size_t n) {
        if (!ok_) return false;
        if (n && std::fread(data, 1, n, f_) != n) ok_ = false;
        return ok_;
    }
    bool LE16(uint16_t& v) {
        uint8_t b[2];
        if (!Bytes(b, 2)) return false;
        v = GetLE16(b);
        return true;
    }
    bool LE32(uint32_t& v) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        v = GetLE32(b);
        return true;
    }
    bool BE32(uint32_t& v) {
        uint8_t b[4];
        if (!Bytes(b, 4)) return false;
        v = GetBE32(b);
        return true;
    }
    bool I16(int16_t& v) {
        uint16_t u;
        if (!LE16(u)) return false;
        v = int16_t(u);
        return true;
    }
    bool I32(int32_t& v) {
        uint32_t u;
        if (!LE32(u)) return false;
        v = int32_t(u);
        return true;
    }
    bool F32(float& v) {
        uint32_t u;
        if (!LE32(u)) return false;
        v = BitsFloat(u);
        return true;
    }
    // Reads up to and including a zero byte; fails when none comes within maxLength bytes.
    bool CString(std::string& s, size_t maxLength) {
        s.clear();
        if (!ok_) return false;
        for (;;) {
            int c = std::fgetc(f_);
            if (c == EOF || s.size() >= maxLength) {
                ok_ = false;
                return false;
            }
            if (c == 0) return true;
            s.push_back(char(c));
        }
    }

private:
    std::FILE* f_;
    bool ok_ = true;
};

}  // namespace sulcan
