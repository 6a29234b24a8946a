#pragma once
// Starting and stopping OpenSSL for the whole process.
//
// A process-wide lock table doubles as the started flag: it exists from InitializeOpenSSL to
// CleanupOpenSSL. OpenSSL 3 does its own locking, so nothing installs a locking callback and the
// table keeps one entry.

// Does nothing once started. Reports nothing.
void InitializeOpenSSL();
// Does nothing unless started.
void CleanupOpenSSL();
// The same steps on a table that exists already (nothing without one): the first refills the table
// and loads the library again, the second stops the library and leaves the emptied table in place.
void InitializeOpenSSLLibrary();
void CleanupOpenSSLLibrary();
// OpenSSL's per-thread clean-up, for a thread that used OpenSSL and is about to end.
void StopOpenSSLThread();

bool IsOpenSSLStarted();
// Entries in the lock table; 0 when not started or emptied.
int GetOpenSSLLockCount();
