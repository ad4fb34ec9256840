/* The RFC library's interface, as the sensor uses it.
 *
 * The sensor talks to the application server only through these functions
 * and records.  On a monitoring probe the vendor's LIBRFC32.dll provides
 * them; for development and tests the stand-in in rfclib/ does.  The records
 * keep the vendor's field order and sizes so that either library can be put
 * beside the executable without rebuilding it.
 */
#ifndef QUENMAREL_RFC_LIBRARY_H
#define QUENMAREL_RFC_LIBRARY_H

#include <stddef.h>

#if defined(_WIN32) && !defined(_WIN64)
#define RFC_CALL __stdcall
#else
#define RFC_CALL
#endif

/* The sensor imports nothing: it finds the functions of the library it loads
   by name, through definitions of its own of these declarations. */
#if defined(_WIN32) && defined(QUENMAREL_BUILDING_RFC_LIBRARY)
#define RFC_API __declspec(dllexport)
#elif defined(QUENMAREL_BUILDING_RFC_LIBRARY)
#define RFC_API __attribute__((visibility("default")))
#else
#define RFC_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* A connection; 0 is the null handle (no connection). */
typedef unsigned int rfc_handle;
#define RFC_NULL_HANDLE 0u

/* Result codes of RfcCall and RfcReceive; any other value is another failure. */
typedef int rfc_result_code;
#define RFC_RESULT_OK 0
#define RFC_RESULT_FAILURE 1
#define RFC_RESULT_EXCEPTION 2
#define RFC_RESULT_SYS_EXCEPTION 3

/* Connection modes of rfc_logon_options_record. */
#define RFC_MODE_R3 0 /* application server by host name and system number */
#define RFC_MODE_R2 1 /* R/2 system through a gateway */

/* Type code of a four-byte signed integer parameter. */
#define RFC_TYPE_INT 8u

/* Called by the library with the name of the failed operation. */
typedef void(RFC_CALL* rfc_error_handler)(char* operation);
/* Memory hook of the library; the sensor installs none. */
typedef void*(RFC_CALL* rfc_allocate_routine)(void* old_block, size_t size);

/* Given to RfcEnvironment. */
typedef struct {
  rfc_error_handler error_handler;
  rfc_allocate_routine allocate;
} rfc_environment_record;

/* Gateway connection of an R/2 system; a null field means "not given". */
typedef struct {
  char* gateway_host;
  char* gateway_service;
} r2_connection_options_record;

/* Connection to an application server; a null text means "not given". */
typedef struct {
  char* hostname;
  int system_number;
  char* gateway_host;
  char* gateway_service;
} r3_connection_options_record;

/* Given to RfcOpen. */
typedef struct {
  char* destination;
  int connection_mode;      /* RFC_MODE_R3 or RFC_MODE_R2 */
  void* connection_options; /* r3_ or r2_connection_options_record */
  char* client;
  char* user;
  char* password;
  char* language;
  int trace_level;
} rfc_logon_options_record;

/* One entry of a parameter list; a null name ends the list. */
typedef struct {
  const char* name;
  unsigned name_length;
  unsigned type_code;
  unsigned value_length;
  void* value_address;
} rfc_parameter;

/* One entry of a table list; a null name ends the list. */
typedef struct {
  const char* name;
  unsigned name_length;
  unsigned type_code;
  unsigned value_length;
  void* table_handle;
  int mode;
  int new_table;
} rfc_table_entry;

/* Filled by RfcLastError: four NUL-terminated texts in 545 bytes. */
typedef struct {
  char key[33];
  char status[128];
  char message[256];
  char internal_status[128];
} rfc_error_info;

/* Error details of RfcOpenEx; the sensor does not read them. */
typedef struct {
  int group;
  char key[33];
  char message[513];
} rfc_open_error_details;

/* Installs the error handler used for errors the library signals itself. */
RFC_API void RFC_CALL RfcEnvironment(rfc_environment_record* environment);
/* Opens a connection from a logon record; the null handle when it fails. */
RFC_API rfc_handle RFC_CALL RfcOpen(rfc_logon_options_record* options);
/* Opens a connection from a connect string whose DEST= is looked up in the
   logon file "SapRfc.ini"; the null handle when it fails. */
RFC_API rfc_handle RFC_CALL RfcOpenEx(const char* connect_string, rfc_open_error_details* details);
/* Sends a call of a function module; 0 when it was sent. */
RFC_API rfc_result_code RFC_CALL RfcCall(rfc_handle handle, const char* function, rfc_parameter* sending,
                                         rfc_table_entry* tables);
/* Waits for the reply of the call sent last and stores its values. */
RFC_API rfc_result_code RFC_CALL RfcReceive(rfc_handle handle, rfc_parameter* receiving, rfc_table_entry* tables,
                                            char** exception);
/* Fills the record with the last error the library signalled. */
RFC_API int RFC_CALL RfcLastError(rfc_error_info* error);
/* Closes a connection; the null handle is accepted and does nothing. */
RFC_API void RFC_CALL RfcClose(rfc_handle handle);

#ifdef __cplusplus
}
#endif

#endif
