// SHA-256 as FIPS 180-4 gives it.
#include "sha256.h"

namespace {

const uint32_t RoundConstants[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

uint32_t Rotated(uint32_t value, int bits) {
    return value >> bits | value << (32 - bits);
}

void Compress(Sha256 *hash) {
    uint32_t words[64];
    for (int i = 0; i < 16; ++i)
        words[i] = (uint32_t)hash->block[4 * i] << 24 | (uint32_t)hash->block[4 * i + 1] << 16 |
                   (uint32_t)hash->block[4 * i + 2] << 8 | hash->block[4 * i + 3];
    for (int i = 16; i < 64; ++i) {
        uint32_t s0 = Rotated(words[i - 15], 7) ^ Rotated(words[i - 15], 18) ^ words[i - 15] >> 3;
        uint32_t s1 = Rotated(words[i - 2], 17) ^ Rotated(words[i - 2], 19) ^ words[i - 2] >> 10;
        words[i] = words[i - 16] + s0 + words[i - 7] + s1;
    }
    uint32_t v[8];
    for (int i = 0; i < 8; ++i) v[i] = hash->state[i];
    for (int i = 0; i < 64; ++i) {
        uint32_t s1 = Rotated(v[4], 6) ^ Rotated(v[4], 11) ^ Rotated(v[4], 25);
        uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
        uint32_t first = v[7] + s1 + choice + RoundConstants[i] + words[i];
        uint32_t s0 = Rotated(v[0], 2) ^ Rotated(v[0], 13) ^ Rotated(v[0], 22);
        uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
        for (int j = 7; j > 0; --j) v[j] = v[j - 1];
        v[4] += first;
        v[0] = first + s0 + majority;
    }
    for (int i = 0; i < 8; ++i) hash->state[i] += v[i];
}

} // namespace

void StartSha256(Sha256 *hash) {
    static const uint32_t initial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                        0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    for (int i = 0; i < 8; ++i) hash->state[i] = initial[i];
    hash->length = 0;
}

void AddToSha256(Sha256 *hash, const void *bytes, size_t count) {
    const unsigned char *at = (const unsigned char *)bytes;
    for (size_t i = 0; i < count; ++i) {
        hash->block[hash->length++ % 64] = at[i];
        if (hash->length % 64 == 0) Compress(hash);
    }
}

std::string FinishSha256(Sha256 *hash) {
    uint64_t bits = hash->length * 8;
    unsigned char padding = 0x80;
    AddToSha256(hash, &padding, 1);
    padding = 0;
    while (hash->length % 64 != 56) AddToSha256(hash, &padding, 1);
    for (int i = 7; i >= 0; --i) {
        unsigned char byte = (unsigned char)(bits >> (8 * i));
        AddToSha256(hash, &byte, 1);
    }
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (uint32_t word : hash->state)
        for (int shift = 28; shift >= 0; shift -= 4) hex += digits[word >> shift & 0xF];
    return hex;
}

std::string Sha256Of(const std::string &bytes) {
    Sha256 hash;
    StartSha256(&hash);
    AddToSha256(&hash, bytes.data(), bytes.size());
    return FinishSha256(&hash);
}

namespace {

int HexDigit(char digit) {
    return digit <= '9' ? digit - '0' : digit - 'a' + 10;
}

std::string BytesOfHex(const std::string &hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes += (char)(HexDigit(hex[i]) << 4 | HexDigit(hex[i + 1]));
    return bytes;
}

} // namespace

std::string HmacSha256(const std::string &key, const std::string &message) {
    std::string block = key.size() > 64 ? BytesOfHex(Sha256Of(key)) : key;
    block.resize(64, '\0');
    std::string inner = block, outer = block;
    for (size_t i = 0; i < block.size(); ++i) {
        inner[i] = (char)(block[i] ^ 0x36);
        outer[i] = (char)(block[i] ^ 0x5c);
    }
    return Sha256Of(outer + BytesOfHex(Sha256Of(inner + message)));
}
