#include "engine/store/StoreCrypto.h"

#include "engine/store/StoreText.h"
#include "somnex/EngineError.h"

#include <gcrypt.h>
#include <mutex>

namespace somnex {

namespace {

// The S-box is fixed so files do not depend on a library default: CryptoPro parameter set A.
constexpr const char* kGostSbox = "1.2.643.2.2.31.1";

class Cipher {
public:
    Cipher(TCipherAlgo algo, const StoreKeys& keys, std::string_view iv) {
        int id = algo == TCipherAlgo::Gost ? GCRY_CIPHER_GOST28147 : GCRY_CIPHER_BLOWFISH;
        size_t keyLen = algo == TCipherAlgo::Gost ? 32 : 16;
        if (gcry_cipher_open(&hd_, id, GCRY_CIPHER_MODE_CFB, 0)) throw EngineError("Cipher is not available");
        if (algo == TCipherAlgo::Gost) gcry_cipher_set_sbox(hd_, kGostSbox);
        if (gcry_cipher_setkey(hd_, keys.cipherKey.data(), keyLen) ||
            gcry_cipher_setiv(hd_, iv.data(), iv.size())) {
            gcry_cipher_close(hd_);
            throw EngineError("Cipher is not available");
        }
    }
    ~Cipher() { gcry_cipher_close(hd_); }
    gcry_cipher_hd_t hd_ = nullptr;
};

} // namespace

TCipherAlgo cipherFromName(std::string_view name) {
    if (equalsNoCase(name, "Blowfish")) return TCipherAlgo::Blowfish;
    if (equalsNoCase(name, "Gost")) return TCipherAlgo::Gost;
    return TCipherAlgo::None;
}

const char* cipherName(TCipherAlgo algo) {
    switch (algo) {
    case TCipherAlgo::Blowfish:
        return "Blowfish";
    case TCipherAlgo::Gost:
        return "Gost";
    default:
        return "";
    }
}

void initCrypto() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!gcry_control(GCRYCTL_INITIALIZATION_FINISHED_P)) {
            gcry_check_version(nullptr);
            gcry_control(GCRYCTL_DISABLE_SECMEM, 0);
            gcry_control(GCRYCTL_INITIALIZATION_FINISHED, 0);
        }
    });
}

StoreKeys deriveKeys(std::string_view password, std::string_view salt, uint32_t iterations) {
    initCrypto();
    uint8_t out[96];
    // libgcrypt refuses an empty passphrase; a one-byte zero stands for it, as the format says.
    static const char zero = 0;
    const char* pass = password.empty() ? &zero : password.data();
    size_t passLen = password.empty() ? 1 : password.size();
    if (gcry_kdf_derive(pass, passLen, GCRY_KDF_PBKDF2, GCRY_MD_SHA256, salt.data(), salt.size(), iterations,
                        sizeof out, out))
        throw EngineError("Key derivation failed");
    StoreKeys k;
    std::copy(out, out + 32, k.cipherKey.begin());
    std::copy(out + 32, out + 64, k.ivKey.begin());
    std::copy(out + 64, out + 96, k.check.begin());
    return k;
}

std::string randomBytes(size_t n) {
    initCrypto();
    std::string s(n, '\0');
    gcry_create_nonce(s.data(), n);
    return s;
}

std::string syntheticIv(const StoreKeys& keys, std::string_view plain) {
    initCrypto();
    gcry_mac_hd_t hd;
    if (gcry_mac_open(&hd, GCRY_MAC_HMAC_SHA256, 0, nullptr)) throw EngineError("Cipher is not available");
    uint8_t mac[32];
    size_t len = sizeof mac;
    gcry_mac_setkey(hd, keys.ivKey.data(), keys.ivKey.size());
    gcry_mac_write(hd, plain.data(), plain.size());
    gcry_mac_read(hd, mac, &len);
    gcry_mac_close(hd);
    return std::string(reinterpret_cast<const char*>(mac), kIvSize);
}

void cfbEncrypt(TCipherAlgo algo, const StoreKeys& keys, std::string_view iv, char* data, size_t size) {
    initCrypto();
    Cipher c(algo, keys, iv);
    if (size && gcry_cipher_encrypt(c.hd_, data, size, nullptr, 0)) throw EngineError("Encryption failed");
}

void cfbDecrypt(TCipherAlgo algo, const StoreKeys& keys, std::string_view iv, char* data, size_t size) {
    initCrypto();
    Cipher c(algo, keys, iv);
    if (size && gcry_cipher_decrypt(c.hd_, data, size, nullptr, 0)) throw EngineError("Decryption failed");
}

} // namespace somnex
