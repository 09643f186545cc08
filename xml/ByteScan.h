#pragma once
// Byte searches for the parser's hot loops: most tokens are a few bytes long,
// where a call of the C library's search costs more than the search. These
// look at sixteen bytes at a time, inline, and never read outside [p, end).

#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace xml {

// The first byte in [p, end) equal to a or b, or end.
inline const char* FindEitherByte(const char* p, const char* end, char a, char b) noexcept
{
#if defined(__SSE2__)
    const __m128i va = _mm_set1_epi8(a), vb = _mm_set1_epi8(b);
    for (; end - p >= 16; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const unsigned mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, va), _mm_cmpeq_epi8(chunk, vb))));
        if (mask != 0)
            return p + __builtin_ctz(mask);
    }
#endif
    for (; p < end; ++p)
        if (*p == a || *p == b)
            return p;
    return end;
}

// The first byte in [p, end) equal to c, or end.
inline const char* FindByte(const char* p, const char* end, char c) noexcept { return FindEitherByte(p, end, c, c); }

// Copies the bytes of [p, end) before the first byte equal to c to `to`,
// moving `to` past them, and answers where that byte stands (end when there
// is none). Whole blocks of sixteen bytes are stored, bytes past the copy
// included: wherever sixteen bytes are still to be read, `to` must have room
// for sixteen.
inline const char* CopyUpToByte(const char* p, const char* end, char*& to, char c) noexcept
{
#if defined(__SSE2__)
    const __m128i vc = _mm_set1_epi8(c);
    for (; end - p >= 16; p += 16, to += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), chunk);
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, vc)))) {
            const unsigned before = static_cast<unsigned>(__builtin_ctz(mask));
            to += before;
            return p + before;
        }
    }
#endif
    for (; p < end && *p != c; ++p)
        *to++ = *p;
    return p;
}

// Bytes of [p, end) equal to c.
inline std::size_t CountByte(const char* p, const char* end, char c) noexcept
{
    std::size_t count = 0;
#if defined(__SSE2__)
    const __m128i vc = _mm_set1_epi8(c);
    while (end - p >= 16) {
        // Up to 255 rounds of counting in the sixteen byte lanes, then their sum.
        __m128i lanes = _mm_setzero_si128();
        for (int round = 0; round < 255 && end - p >= 16; ++round, p += 16) {
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(chunk, vc));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; p < end; ++p)
        count += *p == c;
    return count;
}

// The first byte in [p, end) with its top bit set (not ASCII), or end.
inline const char* FindNonAscii(const char* p, const char* end) noexcept
{
#if defined(__SSE2__)
    for (; end - p >= 16; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        if (const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(chunk)))
            return p + __builtin_ctz(mask);
    }
#endif
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if ((word & 0x8080808080808080ull) != 0)
            break;
    }
    for (; p < end; ++p)
        if (static_cast<unsigned char>(*p) >= 0x80)
            return p;
    return end;
}

inline std::uint64_t Load64(const char* p) noexcept
{
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

inline std::uint32_t Load32(const char* p) noexcept
{
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

// Whether the n bytes at a and b are equal; short texts, the most common,
// are compared a word at a time without a call.
inline bool EqualBytes(const char* a, const char* b, std::size_t n) noexcept
{
    if (n >= 8) {
        if (n > 32)
            return std::memcmp(a, b, n) == 0;
        for (std::size_t i = 0; i + 8 < n; i += 8)
            if (Load64(a + i) != Load64(b + i))
                return false;
        return Load64(a + n - 8) == Load64(b + n - 8);
    }
    if (n >= 4)
        return Load32(a) == Load32(b) && Load32(a + n - 4) == Load32(b + n - 4);
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

} // namespace xml
