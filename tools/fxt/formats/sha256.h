// SHA-256, by which the journal knows the files a make wrote, and its
// HMAC, by which a journal proves that this user's fxt wrote it.
#ifndef PARLYTE_FXT_SHA256_H
#define PARLYTE_FXT_SHA256_H

#include <stdint.h>
#include <string>

struct Sha256 {
    uint32_t state[8];
    uint64_t length;       // bytes taken so far
    unsigned char block[64];
};

void StartSha256(Sha256 *hash);
void AddToSha256(Sha256 *hash, const void *bytes, size_t count);
// The digest in lower-case hex, as sha256sum prints it.
std::string FinishSha256(Sha256 *hash);
std::string Sha256Of(const std::string &bytes);
// HMAC-SHA256 (RFC 2104) of message by key, in lower-case hex.
std::string HmacSha256(const std::string &key, const std::string &message);

#endif
