// Memory the PostgreSQL ODBC driver (psqlodbcw.so) keeps for good, and only
// in situations some tests bring about on purpose:
// - a result of about 320 bytes (and a 16-byte piece of it) allocated inside
//   SQLExecute when the connection drops while a statement runs (a server
//   stopped, a session ended, a relay that cuts or falls silent); freeing
//   the statement and the connection does not free it;
// - the libpq options (pqopt) of a DSN, copied inside SQLDriverConnect, when
//   the connect text carries pqopt of its own (the program adds its bounds
//   there).
// The driver is stripped and built without frame pointers: the sanitizer's
// fast unwinding shows only a frame of the library without a name, so no
// suppression can name the function. The sanitized run ignores the driver's
// leaks only in a test process that brought one of these about (ctest runs
// every test in a process of its own); elsewhere they are reported.
#pragma once

// Called by the test support where it brings one of them about.
void AmmettiPerditeDriverOdbc();
