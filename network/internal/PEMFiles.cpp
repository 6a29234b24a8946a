// PEM certificates, keys and authorities read through the OS layer.

#include "network/internal/PEMFiles.h"

#include "oslayer/files/WholeFiles.h"
#include "oslayer/system/ErrorText.h"
#include "textutil/c_ByteBuffer.h"

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509_vfy.h>

#include <climits>

namespace n_PEMFiles {

namespace {

int RefusePassword(char*, int, int, void*) {
    return -1;
}

// The file's bytes as a memory BIO over the buffer, which must outlive it; null with an error queued.
BIO* OpenFile(const c_String& path, c_ByteBuffer& content) {
    if (!ReadWholeFile(path, content)) {
        ERR_raise(ERR_LIB_BIO,
                  n_OSLayer::IsNotFoundError(n_OSLayer::GetLastError()) ? BIO_R_NO_SUCH_FILE : ERR_R_SYS_LIB);
        return nullptr;
    }
    if (content.GetSize() > INT_MAX) {
        ERR_raise(ERR_LIB_BIO, BIO_R_INVALID_ARGUMENT);
        return nullptr;
    }
    return BIO_new_mem_buf(content.GetData(), static_cast<int>(content.GetSize()));
}

template <typename Read> auto ReadFirst(const c_String& path, Read read) -> decltype(read(nullptr)) {
    c_ByteBuffer content;
    BIO* bio = OpenFile(path, content);
    if (bio == nullptr) {
        return nullptr;
    }
    auto* object = read(bio);
    BIO_free(bio);
    return object;
}

} // namespace

X509* ReadCertificate(const c_String& path) {
    return ReadFirst(path, [](BIO* bio) { return PEM_read_bio_X509(bio, nullptr, RefusePassword, nullptr); });
}

EVP_PKEY* ReadPrivateKey(const c_String& path) {
    return ReadFirst(path, [](BIO* bio) { return PEM_read_bio_PrivateKey(bio, nullptr, RefusePassword, nullptr); });
}

bool AddAuthorities(X509_STORE* store, const c_String& path) {
    c_ByteBuffer content;
    BIO* bio = OpenFile(path, content);
    if (bio == nullptr) {
        return false;
    }
    int added = 0;
    bool failed = false;
    // The read that finds no further certificate queues "no start line": that end is no failure.
    ERR_set_mark();
    for (X509* authority = PEM_read_bio_X509(bio, nullptr, RefusePassword, nullptr); authority != nullptr;
         authority = PEM_read_bio_X509(bio, nullptr, RefusePassword, nullptr)) {
        failed = failed || X509_STORE_add_cert(store, authority) != 1;
        added += 1;
        X509_free(authority);
    }
    BIO_free(bio);
    const unsigned long last = ERR_peek_last_error();
    failed = failed || ERR_GET_LIB(last) != ERR_LIB_PEM || ERR_GET_REASON(last) != PEM_R_NO_START_LINE;
    if (added == 0 || failed) {
        ERR_clear_last_mark();
        return false;
    }
    ERR_pop_to_mark();
    return true;
}

} // namespace n_PEMFiles
