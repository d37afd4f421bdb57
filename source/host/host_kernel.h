/* The host's kernel services and the module-information block.
 *
 * The host maps a module by reading its exported module-information block
 * (g_maxon, HostModuleInfo): the interface version, the module id, the
 * frameworks it was built with and its reflection registration. It then
 * writes its kernel services (HostKernel) into the block's kernel field and
 * only after that sends the bind message to c4d_main.
 *
 * The same ownership words as in host_tables.h apply.
 */
#ifndef CLEARTRACE_HOST_KERNEL_H
#define CLEARTRACE_HOST_KERNEL_H

#include "host_tables.h"

#ifdef __cplusplus
extern "C" {
#endif

#define HOST_INTERFACE_VERSION 2026000

/* Logger levels. */
#define HOST_LOG_LEVEL_INFO 0
#define HOST_LOG_LEVEL_CRITICAL 1

/* Application URL kinds. */
#define HOST_URL_STARTUP 1          /* the application's start-up folder */
#define HOST_URL_FRAMEWORK_FOLDER 3 /* the folder of the named framework */

typedef struct HostKernel {
    int32_t size;

    /* Memory. file/line: the caller's source location, kept for leak reports.
     * new (freeMemory), or null when out of memory. clear: zero-filled. */
    void* (*allocate)(int64_t bytes, bool clear, const char* file, int32_t line);
    void (*freeMemory)(void* block);

    /* Strings. A string given to the host may be null: the empty string. A
     * string the host hands out as new is never null for an empty text (that
     * is a string of length 0): null means the host could not make it (out of
     * memory), so a refused text is never taken for an empty one. */
    /* new reference to a copy of utf8[0..length); null when out of memory. */
    HostString* (*stringFromUtf8)(const char* utf8, int64_t length);
    /* Signed decimal form of value: new reference, or null when out of memory. */
    HostString* (*stringFromInt)(int64_t value);
    /* a followed by b: new reference (a and b borrowed); null when out of memory. */
    HostString* (*stringConcat)(const HostString* a, const HostString* b);
    /* One more reference; returns text. */
    HostString* (*stringRetain)(HostString* text);
    /* One reference less; the last one frees the text. */
    void (*stringRelease)(HostString* text);
    /* The UTF-8 bytes (not terminated); borrowed while a reference is held. */
    const char* (*stringUtf8)(const HostString* text, int64_t* length);

    /* Logging: one line to the logger named loggerId. text borrowed. */
    void (*log)(const char* loggerId, int32_t level, const HostString* text, const char* file, int32_t line);
    /* Breaks into an attached debugger; returns at once without one. */
    void (*debugBreak)(void);

    /* Application folders: new path (HostPathTable.free), or null. */
    HostPath* (*applicationUrl)(int32_t kind, const char* frameworkId);

    /* Configuration: process-wide switches by name. */
    bool (*configRegisterBool)(const char* name, bool defaultValue, const char* help);
    /* Value of a registered switch; fallback when it is unknown. */
    bool (*configBool)(const char* name, bool fallback);
} HostKernel;

/* One framework the module was built with: its id text and its hash
 * (length in bits 44 and up, 43-bit polynomial hash below). */
typedef struct HostFrameworkEntry {
    const char* id;
    uint64_t hash;
} HostFrameworkEntry;

/* The exported module-information block (g_maxon). */
typedef struct HostModuleInfo {
#ifdef _WIN32
    int64_t version;      /* HOST_INTERFACE_VERSION */
    int64_t versionAgain; /* HOST_INTERFACE_VERSION */
#else
    int32_t version; /* HOST_INTERFACE_VERSION */
    int32_t reserved;
#endif
    const char* moduleId; /* reverse-domain id of the module */
    int32_t frameworkCount;
    const HostFrameworkEntry* frameworks;
    const char* reflectionUnit;    /* "[reflection registration]" */
    HostFrameworkEntry reflection; /* ".reflection" and its hash */
    const HostKernel* kernel;      /* written by the host before bind */
} HostModuleInfo;

/* The CPU-yield delegate slot (g_CpuYieldDelegate): the host may call
 * target(context) while it spins; the module's default target returns at once. */
typedef struct HostCpuYieldDelegate {
    void (*target)(void* context);
    void* context;
} HostCpuYieldDelegate;

/* The exported entry point: message number and three pointer-sized arguments.
 * bind (p1 HostTables*, p3 HostPath* of the module file), start, end, the
 * interface version query, and module messages (p1 id, p2 data). */
typedef int32_t (*HostModuleMain)(int32_t message, void* p1, void* p2, void* p3);
#define HOST_MODULE_BIND 1
#define HOST_MODULE_START 2
#define HOST_MODULE_END 3
#define HOST_MODULE_VERSION_QUERY 4
#define HOST_MODULE_MESSAGE 6
/* Module message ids. */
#define HOST_MODULE_MESSAGE_NONE 0 /* asks for nothing; answered as handled */
#define HOST_MODULE_MESSAGE_RESOURCE 1

/* The entry point's answers. */
#define HOST_MODULE_HANDLED 1
#define HOST_MODULE_FAILED 0          /* start: the command could not be registered */
#define HOST_MODULE_NOT_HANDLED (-1)  /* an unknown message, or a module message that failed */
#define HOST_MODULE_BIND_REFUSED (-3) /* the first bind: the host is too old or gave no module path */
#define HOST_MODULE_VERSION_ANSWER 5  /* the version query's answer */

/* ---- Command registration record ---------------------------------------- */
/* The 384-byte block handed to HostPluginTable.registerPlugin for a command
 * (HOST_PLUGIN_KIND_COMMAND). Every forwarder takes the command object first. */
#define HOST_PLUGIN_KIND_COMMAND 4
#define HOST_COMMAND_RECORD_SIZE 384
#define HOST_COMMAND_ENABLED 0x40000000

#define HOST_COMMAND_INFO_PLAIN 0 /* infoFlags: none */

typedef struct HostCommandRecord {
    int32_t infoFlags; /* HOST_COMMAND_INFO_PLAIN */
    int32_t reserved0;
    void (*destroy)(void* command); /* 8: destructor + free */
    uint8_t reserved1[48];
    void* command; /* 64 */
    uint8_t reserved2[56];
    HostString* helpText;                                    /* 128 */
    HostBitmap* icon;                                        /* 136: or null */
    bool (*execute)(void* command, HostDocument* document);  /* 144 */
    int32_t (*state)(void* command, HostDocument* document); /* 152 */
    bool (*restoreLayout)(void* command, void* layoutData);  /* 160 */
    uint8_t reserved3[8];
    /* 176: writes a zero value into *out and returns out. */
    int64_t* (*scriptValue)(void* command, int64_t* out);
    bool (*subContainer)(void* command, HostDocument* document, HostContainer* menu); /* 184 */
    bool (*executeSubId)(void* command, HostDocument* document, int32_t subId);       /* 192 */
    bool (*message)(void* command, int32_t type, void* data);                         /* 200 */
    bool (*executeOptionId)(void* command, HostDocument* document, int32_t optionId); /* 208 */
    uint8_t reserved4[168];
} HostCommandRecord;

#ifdef __cplusplus
} /* extern "C" */
#if UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
static_assert(sizeof(HostCommandRecord) == HOST_COMMAND_RECORD_SIZE, "record size");
static_assert(offsetof(HostCommandRecord, destroy) == 8, "destroy at 8");
static_assert(offsetof(HostCommandRecord, command) == 64, "command at 64");
static_assert(offsetof(HostCommandRecord, helpText) == 128, "help at 128");
static_assert(offsetof(HostCommandRecord, icon) == 136, "icon at 136");
static_assert(offsetof(HostCommandRecord, execute) == 144, "execute at 144");
static_assert(offsetof(HostCommandRecord, state) == 152, "state at 152");
static_assert(offsetof(HostCommandRecord, restoreLayout) == 160, "restore at 160");
static_assert(offsetof(HostCommandRecord, scriptValue) == 176, "slot 8 at 176");
static_assert(offsetof(HostCommandRecord, subContainer) == 184, "slot 6 at 184");
static_assert(offsetof(HostCommandRecord, executeSubId) == 192, "slot 3 at 192");
static_assert(offsetof(HostCommandRecord, message) == 200, "slot 9 at 200");
static_assert(offsetof(HostCommandRecord, executeOptionId) == 208, "slot 4 at 208");
#endif
#endif

#endif
