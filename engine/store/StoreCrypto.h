#pragma once
// Key derivation and the field ciphers. Both ciphers run with 64-bit blocks in full-block CFB
// mode, so a value keeps its length and needs no padding.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace somnex {

enum class TCipherAlgo { None, Blowfish, Gost };

// "Blowfish" or "Gost" (any letter case); anything else is None.
TCipherAlgo cipherFromName(std::string_view name);
const char* cipherName(TCipherAlgo algo);

constexpr size_t kSaltSize = 16;
constexpr size_t kIvSize = 8;
constexpr uint32_t kKdfIterations = 10000;
// A stored count above this is treated as damage: opening must stay quick on any file.
constexpr uint32_t kKdfIterationsMax = 100000;

struct StoreKeys {
    std::array<uint8_t, 32> cipherKey{};
    std::array<uint8_t, 32> ivKey{};
    std::array<uint8_t, 32> check{};
};

void initCrypto();
StoreKeys deriveKeys(std::string_view password, std::string_view salt, uint32_t iterations);
std::string randomBytes(size_t n);
// The first kIvSize bytes of HMAC-SHA256(ivKey, plain): equal texts give equal ciphertexts,
// which is what lets an index find an encrypted text.
std::string syntheticIv(const StoreKeys& keys, std::string_view plain);

// Encrypts or decrypts `data` in place.
void cfbEncrypt(TCipherAlgo algo, const StoreKeys& keys, std::string_view iv, char* data, size_t size);
void cfbDecrypt(TCipherAlgo algo, const StoreKeys& keys, std::string_view iv, char* data, size_t size);

} // namespace somnex
