/* The host's function tables, as the module sees them.
 *
 * The host hands the module one HostTables structure at bind: an int32
 * version followed by 37 table pointers. Each table is a C struct of function
 * pointers that starts with its own size in bytes, so that a newer host can
 * append entries without breaking older modules. Only C types cross this
 * boundary: opaque handles, int32/int64/double/bool and plain structs.
 *
 * Ownership, written beside every entry:
 *   "new"      the caller owns the result and frees it with the named entry;
 *   "borrowed" the host keeps ownership; valid as long as the element it came
 *              from (or until the stated event);
 *   "retains"  the host takes its own reference/copy; the caller keeps its own.
 * The host checks every handle the module passes in; a stale or foreign
 * handle is a fault of the module and stops the process with a message.
 *
 * Host strings (HostString) are reference-counted text values. Given to the
 * host, the null handle is the empty string, so zero-filled memory holds empty
 * strings. Every entry that answers a new string answers null only when it
 * could not make it (out of memory, or a text it does not have); an empty
 * text is a string of length 0, so a refused text is never taken for empty.
 * Their operations live in the kernel services (host_kernel.h).
 */
#ifndef CLEARTRACE_HOST_TABLES_H
#define CLEARTRACE_HOST_TABLES_H

#include "host_handles.h"
#include "host_scene_tables.h"
#include "host_ui_tables.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Ge: general application services --------------------------------- */
/* Message box styles and answers. */
#define HOST_MESSAGE_BOX_NOTICE 0x30   /* information, one OK button */
#define HOST_MESSAGE_BOX_QUESTION 0x24 /* Yes/No */
#define HOST_ANSWER_OK 1
#define HOST_ANSWER_YES 6
#define HOST_ANSWER_NO 7

/* stopBackgroundWork's arguments: which work, why it stops, and whether the
 * call waits until it has. */
#define HOST_BACKGROUND_WORK_ALL 1      /* kinds: every kind the host runs */
#define HOST_BACKGROUND_SCENE_CHANGES 1 /* reason: the scene is about to change */
#define HOST_BACKGROUND_WAIT 1          /* wait: return once the work has stopped */
/* sceneChanged's flags: a plain redraw. */
#define HOST_SCENE_CHANGED_REDRAW 0
/* loadHiddenDocument's answers in *result: the document was read, or why not. */
#define HOST_DOCUMENT_LOADED 0
#define HOST_DOCUMENT_UNREADABLE 1    /* no such file, not readable, or not a scene file */
#define HOST_DOCUMENT_OUT_OF_MEMORY 2 /* the host had no memory for it */
/* saveDocument's answers. */
#define HOST_SAVE_WRITTEN 0 /* the file was written whole */
#define HOST_SAVE_EXISTS 1  /* something is at that path already: nothing written */
#define HOST_SAVE_FAILED 2  /* it could not be written: nothing left at that path */
/* keyDown's keys. */
#define HOST_KEY_ESCAPE 0x1B

typedef struct HostGeneralTable {
    int32_t size;
    /* The document the user works on; borrowed, or null when there is none. */
    HostDocument* (*activeDocument)(void);
    /* Stops the host's running background work (render previews, generators). */
    void (*stopBackgroundWork)(int32_t kinds, int32_t reason, int32_t wait);
    /* Tells the host the scene changed so it redraws; flags HOST_SCENE_CHANGED_REDRAW. */
    void (*sceneChanged)(int32_t flags);
    /* Modal message box of a HOST_MESSAGE_BOX_ style; answers HOST_ANSWER_OK,
     * _YES or _NO. text: borrowed. */
    int32_t (*messageBox)(const HostString* text, int32_t style);
    /* Loads the string table found in folder. new (freeResource), or null. */
    HostResource* (*loadResource)(const HostPath* folder);
    /* Frees a resource from loadResource; initialised is handed back as given. */
    void (*freeResource)(HostResource* resource, bool initialised);
    /* String id of the resource: new reference, null when unknown or out of memory. */
    HostString* (*resourceString)(const HostResource* resource, int32_t id);
    /* Reads a scene file into a document that is not shown: never the active
     * one, in no window, its plug-ins not installed (the registry stays the
     * application's). new (freeHiddenDocument), or null with *result saying
     * why (HOST_DOCUMENT_UNREADABLE, _OUT_OF_MEMORY); *result is
     * HOST_DOCUMENT_LOADED otherwise. file borrowed. The document may be read
     * and changed through every table (with an undo history of its own), but
     * never shown: no selection is set in it, and it never becomes the active
     * one. It remembers the plug-ins its file lists, which saveDocument
     * writes back. */
    HostDocument* (*loadHiddenDocument)(const HostPath* file, int32_t* result);
    /* Ends a document from loadHiddenDocument with everything in it. */
    void (*freeHiddenDocument)(HostDocument* document);
    /* Opens a scene file as the user's File > Open does: a new document that
     * becomes the active one. file borrowed. false when it could not be read
     * (nothing changed). */
    bool (*openDocument)(const HostPath* file);
    /* The status bar: its text (borrowed), its progress bar at percent (0 to
     * 100), and clearing both. */
    void (*statusSetText)(const HostString* text);
    void (*statusSetBar)(int32_t percent);
    void (*statusClear)(void);
    /* Whether key (HOST_KEY_ESCAPE) is held down now. */
    bool (*keyDown)(int32_t key);
    /* Writes document (borrowed; the active one or one from
     * loadHiddenDocument) as a scene file at file (borrowed), which must not
     * exist: into a new file beside it, then given file's name only while no
     * file has it, in one step. Never replaces anything; on failure nothing is
     * left at file or beside it. HOST_SAVE_ answer. The document is not
     * changed. */
    int32_t (*saveDocument)(const HostDocument* document, const HostPath* file);
} HostGeneralTable;

/* A table the module does not call: only its size. */
typedef struct HostUnusedTable {
    int32_t size;
} HostUnusedTable;

/* ---- The binding structure ---------------------------------------------- */
/* Handed over with the bind message: the host's version, then the 37 tables
 * in this order. */
typedef struct HostTables {
    int32_t version;
    const HostGeneralTable* t_C4DOS_Ge;
    const HostShaderTable* t_C4DOS_Sh;
    const HostUnusedTable* t_C4DOS_Hf;
    const HostContainerTable* t_C4DOS_Bc;
    const HostUnusedTable* t_C4DOS_St;
    const HostBitmapTable* t_C4DOS_Bm;
    const HostUnusedTable* t_C4DOS_Ms;
    const HostElementTable* t_C4DOS_Ba;
    const HostPathTable* t_C4DOS_Fn;
    const HostUnusedTable* t_C4DOS_Fl;
    const HostBrowseTable* t_C4DOS_Bf;
    const HostUnusedTable* t_C4DOS_Cd;
    const HostDrawTable* t_C4DOS_Cu;
    const HostPluginTable* t_C4DOS_Pr;
    const HostLibraryTable* t_C4DOS_Lr;
    const HostListTable* t_C4DOS_Bl;
    const HostTagTable* t_C4DOS_Tg;
    const HostObjectTable* t_C4DOS_Bo;
    const HostDocumentTable* t_C4DOS_Bd;
    const HostUnusedTable* t_C4DOS_Bt;
    const HostMaterialTable* t_C4DOS_Mt;
    const HostUnusedTable* t_C4DOS_Tx;
    const HostUnusedTable* t_C4DOS_Bs;
    const HostUndoTable* t_C4DOS_Bu;
    const HostRenderTable* t_C4DOS_Br;
    const HostUnusedTable* t_C4DOS_Bv;
    const HostUnusedTable* t_C4DOS_Nb;
    const HostUnusedTable* t_C4DOS_Pl;
    const HostFileTable* t_C4DOS_Fi;
    const HostUnusedTable* t_C4DOS_Pa;
    const HostLinkTable* t_C4DOS_Ln;
    const HostValueTable* t_C4DOS_Gv;
    const HostDialogTable* t_C4DOS_Gd;
    const HostArrayTable* t_C4DOS_At;
    const HostUnusedTable* t_C4DOS_CA;
    const HostUnusedTable* t_C4DOS_Ne;
    const HostUnusedTable* t_C4DOS_FL;
} HostTables;

/* The 37 table names in binding order, for code that goes over all of them. */
#define HOST_TABLE_NAMES(X) \
    X(t_C4DOS_Ge)           \
    X(t_C4DOS_Sh)           \
    X(t_C4DOS_Hf)           \
    X(t_C4DOS_Bc)           \
    X(t_C4DOS_St)           \
    X(t_C4DOS_Bm)           \
    X(t_C4DOS_Ms)           \
    X(t_C4DOS_Ba)           \
    X(t_C4DOS_Fn)           \
    X(t_C4DOS_Fl)           \
    X(t_C4DOS_Bf)           \
    X(t_C4DOS_Cd)           \
    X(t_C4DOS_Cu)           \
    X(t_C4DOS_Pr)           \
    X(t_C4DOS_Lr)           \
    X(t_C4DOS_Bl)           \
    X(t_C4DOS_Tg)           \
    X(t_C4DOS_Bo)           \
    X(t_C4DOS_Bd)           \
    X(t_C4DOS_Bt)           \
    X(t_C4DOS_Mt)           \
    X(t_C4DOS_Tx)           \
    X(t_C4DOS_Bs)           \
    X(t_C4DOS_Bu)           \
    X(t_C4DOS_Br)           \
    X(t_C4DOS_Bv)           \
    X(t_C4DOS_Nb)           \
    X(t_C4DOS_Pl)           \
    X(t_C4DOS_Fi)           \
    X(t_C4DOS_Pa)           \
    X(t_C4DOS_Ln)           \
    X(t_C4DOS_Gv)           \
    X(t_C4DOS_Gd)           \
    X(t_C4DOS_At)           \
    X(t_C4DOS_CA)           \
    X(t_C4DOS_Ne)           \
    X(t_C4DOS_FL)

#define HOST_TABLE_COUNT 37

#ifdef __cplusplus
} /* extern "C" */
static_assert(offsetof(HostTables, version) == 0, "version first");
static_assert(offsetof(HostTables, t_C4DOS_Ge) == sizeof(void*), "first table at the second pointer slot");
static_assert(offsetof(HostTables, t_C4DOS_FL) == 37 * sizeof(void*), "37 tables, pointer-aligned");
static_assert(sizeof(HostTables) == 38 * sizeof(void*), "nothing after the last table");
#endif

#endif
