/* The NetWeaver RFC library's interface, as far as the bridge uses it.
 *
 * The bridge (nwrfc-bridge/) loads the library at run time and calls these
 * functions through pointers of the types below; the stand-in for tests
 * (nwrfc-standin/) implements them.  Record layouts, sizes and values follow
 * the vendor's published interface, so either library can answer the bridge.
 */
#ifndef QUENMAREL_NWRFC_LIBRARY_H
#define QUENMAREL_NWRFC_LIBRARY_H

#if defined(_WIN32) && !defined(_WIN64)
#define NWRFC_CALL __stdcall
#else
#define NWRFC_CALL
#endif

#if defined(_WIN32) && defined(QUENMAREL_BUILDING_NWRFC_LIBRARY)
#define NWRFC_API __declspec(dllexport)
#elif defined(QUENMAREL_BUILDING_NWRFC_LIBRARY)
#define NWRFC_API __attribute__((visibility("default")))
#else
/* The bridge never links the library; it only looks its functions up. */
#define NWRFC_API
#endif

#include <stddef.h>

#ifdef __cplusplus
/* One UTF-16 code unit; on Windows the same two bytes as wchar_t. */
typedef char16_t SAP_UC;
extern "C" {
#else
#include <stdint.h>
typedef uint16_t SAP_UC;
#endif

/* A four-byte signed integer of a function module's interface. */
typedef int RFC_INT;

/* Result codes; a library may give more than these, each a failure. */
typedef int RFC_RC;
enum {
  RFC_OK = 0,
  RFC_COMMUNICATION_FAILURE = 1,
  RFC_LOGON_FAILURE = 2,
  RFC_ABAP_RUNTIME_FAILURE = 3,
  RFC_ABAP_MESSAGE = 4,
  RFC_ABAP_EXCEPTION = 5,
  RFC_CLOSED = 6,
  RFC_CANCELED = 7,
  RFC_TIMEOUT = 8,
  RFC_MEMORY_INSUFFICIENT = 9,
  RFC_VERSION_MISMATCH = 10,
  RFC_INVALID_PROTOCOL = 11,
  RFC_SERIALIZATION_FAILURE = 12,
  RFC_INVALID_HANDLE = 13,
  RFC_RETRY = 14,
  RFC_EXTERNAL_FAILURE = 15,
  RFC_EXECUTED = 16,
  RFC_NOT_FOUND = 17,
  RFC_NOT_SUPPORTED = 18,
  RFC_ILLEGAL_STATE = 19,
  RFC_INVALID_PARAMETER = 20,
  /* Newer libraries: an exception of an ABAP class, an exception like 5. */
  RFC_ABAP_CLASS_EXCEPTION = 27
};

/* Which side and kind of failure an error is. */
typedef int RFC_ERROR_GROUP;
enum {
  RFC_ERROR_GROUP_OK = 0,
  RFC_ERROR_GROUP_ABAP_APPLICATION_FAILURE = 1,
  RFC_ERROR_GROUP_ABAP_RUNTIME_FAILURE = 2,
  RFC_ERROR_GROUP_LOGON_FAILURE = 3,
  RFC_ERROR_GROUP_COMMUNICATION_FAILURE = 4,
  RFC_ERROR_GROUP_EXTERNAL_RUNTIME_FAILURE = 5,
  RFC_ERROR_GROUP_EXTERNAL_APPLICATION_FAILURE = 6,
  RFC_ERROR_GROUP_EXTERNAL_AUTHORIZATION_FAILURE = 7
};

/* Opaque handles; a null handle returned means failure. */
typedef struct nwrfc_connection* RFC_CONNECTION_HANDLE;
typedef struct nwrfc_function_description* RFC_FUNCTION_DESC_HANDLE;
typedef struct nwrfc_data_container* RFC_FUNCTION_HANDLE;
/* A function handle is the data container of the function's values. */
typedef RFC_FUNCTION_HANDLE RFC_DATA_CONTAINER_HANDLE;

/* One logon parameter; names are lower case ("ashost", "client", ...). */
typedef struct {
  const SAP_UC* name;
  const SAP_UC* value;
} RFC_CONNECTION_PARAMETER;

/* Filled by every function that fails; each text NUL-terminated in its field. */
typedef struct {
  RFC_RC code;
  RFC_ERROR_GROUP group;
  SAP_UC key[128];
  SAP_UC message[512];
  SAP_UC abapMsgClass[21];
  SAP_UC abapMsgType[2];
  SAP_UC abapMsgNumber[4];
  SAP_UC abapMsgV1[51];
  SAP_UC abapMsgV2[51];
  SAP_UC abapMsgV3[51];
  SAP_UC abapMsgV4[51];
} RFC_ERROR_INFO;

/* Opens a connection and logs on; null when that fails. */
NWRFC_API RFC_CONNECTION_HANDLE NWRFC_CALL RfcOpenConnection(const RFC_CONNECTION_PARAMETER* params, unsigned count,
                                                             RFC_ERROR_INFO* error);
/* Closes a connection. */
NWRFC_API RFC_RC NWRFC_CALL RfcCloseConnection(RFC_CONNECTION_HANDLE connection, RFC_ERROR_INFO* error);
/* The description of a function module from the library's metadata cache;
   it belongs to the cache and is never destroyed by the caller. */
NWRFC_API RFC_FUNCTION_DESC_HANDLE NWRFC_CALL RfcGetFunctionDesc(RFC_CONNECTION_HANDLE connection, const SAP_UC* name,
                                                                 RFC_ERROR_INFO* error);
/* A call of the described function module, with room for its values. */
NWRFC_API RFC_FUNCTION_HANDLE NWRFC_CALL RfcCreateFunction(RFC_FUNCTION_DESC_HANDLE description, RFC_ERROR_INFO* error);
/* Runs the function module and waits for its reply. */
NWRFC_API RFC_RC NWRFC_CALL RfcInvoke(RFC_CONNECTION_HANDLE connection, RFC_FUNCTION_HANDLE function,
                                      RFC_ERROR_INFO* error);
/* Reads one integer value of a data container by its name. */
NWRFC_API RFC_RC NWRFC_CALL RfcGetInt(RFC_DATA_CONTAINER_HANDLE container, const SAP_UC* name, RFC_INT* value,
                                      RFC_ERROR_INFO* error);
/* Frees a function handle. */
NWRFC_API RFC_RC NWRFC_CALL RfcDestroyFunction(RFC_FUNCTION_HANDLE function, RFC_ERROR_INFO* error);
/* Names the library and its version. */
NWRFC_API const SAP_UC* NWRFC_CALL RfcGetVersion(unsigned* major, unsigned* minor, unsigned* patch_level);

/* Sets the directory (which must exist) of the trace files the library opens
   from now on. */
NWRFC_API RFC_RC NWRFC_CALL RfcSetTraceDir(SAP_UC* traceDir, RFC_ERROR_INFO* error);
/* Sets the trace level: with connection and destination both null the
   level of the whole library (0 severe errors only, 1 brief, 2 verbose, 3
   full), which overrides the environment variable RFC_TRACE. */
NWRFC_API RFC_RC NWRFC_CALL RfcSetTraceLevel(RFC_CONNECTION_HANDLE connection, SAP_UC* destination, unsigned traceLevel,
                                             RFC_ERROR_INFO* error);

/* The same functions as the bridge holds them after looking them up. */
typedef RFC_CONNECTION_HANDLE(NWRFC_CALL* RfcOpenConnection_function)(const RFC_CONNECTION_PARAMETER*, unsigned,
                                                                      RFC_ERROR_INFO*);
typedef RFC_RC(NWRFC_CALL* RfcCloseConnection_function)(RFC_CONNECTION_HANDLE, RFC_ERROR_INFO*);
typedef RFC_FUNCTION_DESC_HANDLE(NWRFC_CALL* RfcGetFunctionDesc_function)(RFC_CONNECTION_HANDLE, const SAP_UC*,
                                                                          RFC_ERROR_INFO*);
typedef RFC_FUNCTION_HANDLE(NWRFC_CALL* RfcCreateFunction_function)(RFC_FUNCTION_DESC_HANDLE, RFC_ERROR_INFO*);
typedef RFC_RC(NWRFC_CALL* RfcInvoke_function)(RFC_CONNECTION_HANDLE, RFC_FUNCTION_HANDLE, RFC_ERROR_INFO*);
typedef RFC_RC(NWRFC_CALL* RfcGetInt_function)(RFC_DATA_CONTAINER_HANDLE, const SAP_UC*, RFC_INT*, RFC_ERROR_INFO*);
typedef RFC_RC(NWRFC_CALL* RfcDestroyFunction_function)(RFC_FUNCTION_HANDLE, RFC_ERROR_INFO*);
typedef const SAP_UC*(NWRFC_CALL* RfcGetVersion_function)(unsigned*, unsigned*, unsigned*);
typedef RFC_RC(NWRFC_CALL* RfcSetTraceDir_function)(SAP_UC*, RFC_ERROR_INFO*);
typedef RFC_RC(NWRFC_CALL* RfcSetTraceLevel_function)(RFC_CONNECTION_HANDLE, SAP_UC*, unsigned, RFC_ERROR_INFO*);

#ifdef __cplusplus
}
static_assert(sizeof(SAP_UC) == 2, "SAP_UC is one UTF-16 code unit");
static_assert(offsetof(RFC_ERROR_INFO, message) == 8 + 2 * 128 &&
                  offsetof(RFC_ERROR_INFO, abapMsgV4) == 8 + 2 * (128 + 512 + 21 + 2 + 4 + 3 * 51),
              "RFC_ERROR_INFO's layout");
#endif

#endif
