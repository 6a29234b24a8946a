// Starting and stopping OpenSSL for the whole process.

#include "network/TLSLibrary.h"

#include "oslayer/threads/c_CriticalSection.h"

#include <openssl/conf.h>
#include <openssl/crypto.h>
#include <openssl/ssl.h>

#include <new>

namespace {

// What CRYPTO_num_locks() reports since OpenSSL 1.1.
constexpr int OPENSSL_LOCK_COUNT = 1;

struct s_LockTable {
    c_CriticalSection* m_p_Locks = nullptr;
    int m_Count = 0;
};

s_LockTable* g_p_LockTable = nullptr;

void EmptyLockTable() {
    delete[] g_p_LockTable->m_p_Locks;
    g_p_LockTable->m_p_Locks = nullptr;
    g_p_LockTable->m_Count = 0;
}

void FillLockTable() {
    EmptyLockTable();
    g_p_LockTable->m_p_Locks = new (std::nothrow) c_CriticalSection[OPENSSL_LOCK_COUNT];
    g_p_LockTable->m_Count = g_p_LockTable->m_p_Locks != nullptr ? OPENSSL_LOCK_COUNT : 0;
}

void LoadLibrary() {
    OPENSSL_init_ssl(OPENSSL_INIT_LOAD_SSL_STRINGS | OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
    OPENSSL_init_ssl(0, nullptr);
    OPENSSL_init_crypto(OPENSSL_INIT_LOAD_CRYPTO_STRINGS, nullptr);
    OPENSSL_init_crypto(OPENSSL_INIT_ADD_ALL_CIPHERS | OPENSSL_INIT_ADD_ALL_DIGESTS, nullptr);
    OPENSSL_init_crypto(OPENSSL_INIT_ADD_ALL_CIPHERS, nullptr);
    OPENSSL_init_crypto(OPENSSL_INIT_ADD_ALL_DIGESTS, nullptr);
}

void StopLibrary() {
    OPENSSL_thread_stop();
    CONF_modules_unload(1);
}

} // namespace

void InitializeOpenSSL() {
    if (g_p_LockTable != nullptr) {
        return;
    }
    g_p_LockTable = new (std::nothrow) s_LockTable;
    if (g_p_LockTable != nullptr) {
        FillLockTable();
    }
    LoadLibrary();
}

void CleanupOpenSSL() {
    if (g_p_LockTable == nullptr) {
        return;
    }
    StopLibrary();
    EmptyLockTable();
    delete g_p_LockTable;
    g_p_LockTable = nullptr;
}

void InitializeOpenSSLLibrary() {
    if (g_p_LockTable == nullptr) {
        return;
    }
    FillLockTable();
    LoadLibrary();
}

void CleanupOpenSSLLibrary() {
    if (g_p_LockTable == nullptr) {
        return;
    }
    StopLibrary();
    EmptyLockTable();
}

void StopOpenSSLThread() {
    OPENSSL_thread_stop();
}

bool IsOpenSSLStarted() {
    return g_p_LockTable != nullptr;
}

int GetOpenSSLLockCount() {
    return g_p_LockTable != nullptr ? g_p_LockTable->m_Count : 0;
}
