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
 * Host strings (HostString) are reference-counted text values; the null
 * handle is the empty string, so zero-filled memory holds empty strings.
 * Their operations live in the kernel services (host_kernel.h).
 */
#ifndef CLEARTRACE_HOST_TABLES_H
#define CLEARTRACE_HOST_TABLES_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Opaque handles. Every scene element (object, tag, material, shader, video
 * post, render settings) is a HostElement. */
typedef struct HostString HostString;
typedef struct HostPath HostPath;
typedef struct HostDocument HostDocument;
typedef struct HostElement HostElement;
typedef struct HostChannel HostChannel;
typedef struct HostLayer HostLayer;
typedef struct HostValue HostValue;
typedef struct HostLink HostLink;
typedef struct HostContainer HostContainer;
typedef struct HostArray HostArray;
typedef struct HostBitmap HostBitmap;
typedef struct HostResource HostResource;
typedef struct HostPluginRecord HostPluginRecord;
typedef struct HostDialog HostDialog;
typedef struct HostGui HostGui;
typedef struct HostDrawArea HostDrawArea;
typedef struct HostMouseInfo HostMouseInfo;

/* ---- Ge: general application services --------------------------------- */
/* Message box styles and answers. */
#define HOST_MESSAGE_BOX_NOTICE 0x30   /* information, one OK button */
#define HOST_MESSAGE_BOX_QUESTION 0x24 /* Yes/No */
#define HOST_ANSWER_OK 1
#define HOST_ANSWER_YES 6
#define HOST_ANSWER_NO 7

typedef struct HostGeneralTable {
    int32_t size;
    /* The document the user works on; borrowed, or null when there is none. */
    HostDocument* (*activeDocument)(void);
    /* Stops the host's running background work (render previews, generators). */
    void (*stopBackgroundWork)(int32_t a, int32_t b, int32_t c);
    /* Tells the host the scene changed so it redraws; flags 0. */
    void (*sceneChanged)(int32_t flags);
    /* Modal message box. style 0x30 notice with OK, 0x24 Yes/No question.
     * Answers 6 for Yes, 7 for No, 1 for OK. text: borrowed. */
    int32_t (*messageBox)(const HostString* text, int32_t style);
    /* Loads the string table found in folder. new (freeResource), or null. */
    HostResource* (*loadResource)(const HostPath* folder);
    /* Frees a resource from loadResource; initialised is handed back as given. */
    void (*freeResource)(HostResource* resource, bool initialised);
    /* String id of the resource: new reference, null (empty) when unknown. */
    HostString* (*resourceString)(const HostResource* resource, int32_t id);
} HostGeneralTable;

/* ---- Sh: shaders -------------------------------------------------------- */
typedef struct HostShaderTable {
    int32_t size;
    /* The element (material or shader) that owns shader; borrowed, or null. */
    HostElement* (*owner)(const HostElement* shader);
} HostShaderTable;

/* ---- Bc: containers (id -> value maps; dialog messages, settings) ------- */
typedef struct HostContainerTable {
    int32_t size;
    /* new (free), or null when out of memory. */
    HostContainer* (*create)(int32_t id);
    void (*free)(HostContainer* container);
    /* The container's own id (the four-character message id of a message). */
    int32_t (*id)(const HostContainer* container);
    bool (*setBool)(HostContainer* container, int32_t key, bool value);
    bool (*setInt32)(HostContainer* container, int32_t key, int32_t value);
    /* Value under key, or fallback when the key is missing. */
    int32_t (*getInt32)(const HostContainer* container, int32_t key, int32_t fallback);
    /* Removes every entry; the id stays. */
    void (*clear)(HostContainer* container);
} HostContainerTable;

/* ---- Bm: bitmaps -------------------------------------------------------- */
#define HOST_BITMAP_LOADED 1        /* load's answer for an image read */
#define HOST_BITMAP_PIXEL_RATIO 100 /* property: the pixel ratio */

typedef struct HostBitmapTable {
    int32_t size;
    /* new (free), or null. */
    HostBitmap* (*create)(void);
    void (*free)(HostBitmap* bitmap);
    /* Loads an image file; 1 when loaded, other values for failures. */
    int32_t (*load)(HostBitmap* bitmap, const HostPath* file);
    /* Sets a numeric property (100: pixel ratio). */
    void (*setProperty)(HostBitmap* bitmap, int32_t property, double value);
} HostBitmapTable;

/* ---- Fn: paths ---------------------------------------------------------- */
typedef struct HostPathTable {
    int32_t size;
    /* Empty path: new (free), or null when out of memory. */
    HostPath* (*create)(void);
    void (*free)(HostPath* path);
    /* Copies source into target; false when out of memory. */
    bool (*assign)(HostPath* target, const HostPath* source);
    /* The folder holding path (empty for an empty path): new, or null. */
    HostPath* (*directory)(const HostPath* path);
    /* path + one element: new, or null. element: borrowed. */
    HostPath* (*join)(const HostPath* path, const HostString* element);
    /* Last element of path: new reference, null for an empty path. */
    HostString* (*lastComponent)(const HostPath* path);
    bool (*equal)(const HostPath* a, const HostPath* b);
    bool (*isEmpty)(const HostPath* path);
    /* System form of the path: new reference. */
    HostString* (*toString)(const HostPath* path);
    /* Parses a system path: new, or null. */
    HostPath* (*fromString)(const HostString* text);
} HostPathTable;

/* ---- Cu: drawing areas of custom controls (the tree view's cells) ------- */
typedef struct HostDrawTable {
    int32_t size;
    /* Width in pixels of text drawn in area; text borrowed. */
    int32_t (*textWidth)(HostDrawArea* area, const HostString* text);
    /* Height of the area's font in pixels (the row height). */
    int32_t (*fontHeight)(HostDrawArea* area);
    /* Fills the rectangle (x1, y1)-(x2, y2), both corners inclusive. */
    void (*fillRect)(HostDrawArea* area, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    /* The area's one-number drawing setting (line/text mode). */
    void (*setDrawSetting)(HostDrawArea* area, int32_t value);
    /* Text colour and text background colour, as host colour ids. */
    void (*setTextColors)(HostDrawArea* area, int32_t text, int32_t background);
    /* Draws text with its top left corner at (x, y); text borrowed. */
    void (*drawText)(HostDrawArea* area, const HostString* text, int32_t x, int32_t y, int32_t flags);
} HostDrawTable;

/* ---- Pl: plug-in registry and registration ------------------------------ */
/* Host plug-in kinds (the registry's kind numbers; 0 finds any kind). */
#define HOST_PLUGIN_KIND_ANY 0
#define HOST_PLUGIN_KIND_SHADER 1
#define HOST_PLUGIN_KIND_OBJECT 5
#define HOST_PLUGIN_KIND_TAG 6
#define HOST_PLUGIN_KIND_VIDEO_POST 8

typedef struct HostPluginTable {
    int32_t size;
    /* Installed plug-in with this id and kind (0 any); borrowed, or null. */
    HostPluginRecord* (*find)(int32_t id, int32_t kind);
    /* Registered name: new reference. */
    HostString* (*name)(const HostPluginRecord* record);
    /* Host plug-in kind number (1 shader, 4 command, 5 object, 6 tag, 8 video post ...). */
    int32_t (*kind)(const HostPluginRecord* record);
    /* Registers a plug-in described by record (recordSize bytes, see
     * HostCommandRecord). retains name, help text and icon (the caller frees
     * its own); the host owns the command object from then on and destroys it
     * through the record's destroy callback. false: refused, nothing kept. */
    bool (*registerPlugin)(int32_t version, int32_t kind, int32_t id, const HostString* name, const void* record,
                           int32_t recordSize);
} HostPluginTable;

/* ---- Lr: libraries ------------------------------------------------------ */
/* Library tables, reached through HostLibraryTable.find. */
#define HOST_LIBRARY_LAYER_SHADER 450000055
#define HOST_LIBRARY_TREE_VIEW 1000475

/* Layer shaders: the element type id, the kind of a layer that links a
 * shader, and the layer parameter holding that link. */
#define HOST_LAYER_SHADER_TYPE 1011123
#define HOST_LAYER_KIND_SHADER 2
#define HOST_LAYER_PARAMETER_LINK 2002

/* Tree-view control: settings keys of its custom control, its minimum
 * height, and the column kind whose cells the module draws. */
#define HOST_TREE_VIEW_HEADER_ROW 0x74766868   /* tvhh */
#define HOST_TREE_VIEW_BORDER 0x62726472       /* brdr */
#define HOST_TREE_VIEW_FIXED_LAYOUT 0x7476666C /* tvfl */
#define HOST_TREE_VIEW_MIN_HEIGHT 0x10064
#define HOST_TREE_VIEW_COLUMN_USER 0x75736572 /* user */
/* Host colour ids for a cell's text and its background. */
#define HOST_COLOR_TEXT 1003
#define HOST_COLOR_TEXT_BACKGROUND 1000

typedef struct HostLayerShaderLibrary {
    int32_t size;
    /* First layer of a layer shader (type 1011123); borrowed, or null. */
    HostLayer* (*firstLayer)(const HostElement* layerShader);
    HostLayer* (*nextLayer)(const HostLayer* layer);
    /* 2 = shader layer; other kinds are folders, adjustments ... */
    int32_t (*kind)(const HostLayer* layer);
    /* Reads parameter id of layer into value; false when it has none. */
    bool (*getParameter)(const HostLayer* layer, int32_t id, HostValue* value);
} HostLayerShaderLibrary;

/* Callbacks the host's tree view calls to enumerate and draw rows. self is the
 * object given to attach, root and user are as given there, row is a value
 * the module handed out from firstRow/nextRow/firstChild. */
typedef struct HostDrawInfo {
    HostDrawArea* area;
    int32_t x, y, width, height;
} HostDrawInfo;

typedef struct HostTreeViewCallbacks {
    int32_t size;
    void* (*firstRow)(void* self, void* root, void* user);
    void* (*firstChild)(void* self, void* root, void* user, void* row);
    void* (*nextRow)(void* self, void* root, void* user, void* row);
    void* (*previousRow)(void* self, void* root, void* user, void* row);
    int32_t (*cellWidth)(void* self, void* root, void* user, void* row, int32_t column, HostDrawArea* area);
    int32_t (*headerWidth)(void* self, void* root, void* user, int32_t column, HostDrawArea* area);
    int32_t (*rowHeight)(void* self, void* root, void* user, void* row, int32_t column, HostDrawArea* area);
    void (*drawCell)(void* self, void* root, void* user, void* row, int32_t column, const HostDrawInfo* info,
                     int32_t backgroundColor);
    bool (*drawHeader)(void* self, void* root, void* user, int32_t column, const HostDrawInfo* info);
    bool (*isSelected)(void* self, void* root, void* user, void* row);
    bool (*isOpened)(void* self, void* root, void* user, void* row);
    /* new reference (the host releases it). */
    HostString* (*rowName)(void* self, void* root, void* user, void* row);
    int64_t (*rowId)(void* self, void* root, void* user, void* row);
    int32_t (*dragType)(void* self, void* root, void* user, void* row);
    void (*contextMenu)(void* self, void* root, void* user, void* row, int32_t column, HostContainer* menu);
    bool (*doubleClick)(void* self, void* root, void* user, void* row, int32_t column, const HostMouseInfo* mouse);
} HostTreeViewCallbacks;

typedef struct HostTreeViewLibrary {
    int32_t size;
    /* Shows root through callbacks (borrowed: must outlive the attachment or be
     * replaced by another attach, e.g. with null root and callbacks). */
    void (*attach)(HostGui* treeView, void* root, const HostTreeViewCallbacks* callbacks, void* self, void* user);
    /* Column layout: columnCount columns, layout holds column id -> column kind. */
    bool (*setLayout)(HostGui* treeView, int32_t columnCount, const HostContainer* layout);
    /* Re-reads the rows and redraws. */
    void (*refresh)(HostGui* treeView);
    /* Tells the control that its column layout or size changed. */
    void (*layoutChanged)(HostGui* treeView);
} HostTreeViewLibrary;

typedef struct HostLibraryTable {
    int32_t size;
    /* Library of the given id: borrowed pointer to a table that starts with
     * its int32 size (HostLayerShaderLibrary, HostTreeViewLibrary), or null. */
    const void* (*find)(int32_t libraryId);
} HostLibraryTable;

/* ---- Bl: list nodes (every element lives in a list) --------------------- */
typedef struct HostListTable {
    int32_t size;
    /* Next element in the same list; borrowed, or null. */
    HostElement* (*next)(const HostElement* element);
    /* First child of an object; borrowed, or null. */
    HostElement* (*firstChild)(const HostElement* element);
    /* Parent object of an object; borrowed, or null at the top level. */
    HostElement* (*parent)(const HostElement* element);
    /* Takes element (with everything below it) out of its list; it stays alive. */
    void (*unlink)(HostElement* element);
    /* Ends the life of an element and of everything below it: children and tags
     * of an object, shaders of a material, layers and shaders of a shader. */
    void (*free)(HostElement* element);
    /* Document the element belongs to; borrowed, or null when unlinked. */
    HostDocument* (*document)(const HostElement* element);
} HostListTable;

/* ---- Ba: element identity ----------------------------------------------- */
/* The message that tells a material its shaders changed (no data). */
#define HOST_MSG_MATERIAL_UPDATE 5

typedef struct HostElementTable {
    int32_t size;
    /* The element's type id (plug-in id of what made it). */
    int32_t (*typeId)(const HostElement* element);
    /* The element's name: new reference. */
    HostString* (*name)(const HostElement* element);
    /* Sends message id to element; data borrowed (may be null). */
    bool (*sendMessage)(HostElement* element, int32_t id, void* data);
} HostElementTable;

/* ---- Tg: tags ----------------------------------------------------------- */
typedef struct HostTagTable {
    int32_t size;
    /* Tags of object whose type id is typeId, in order. Borrowed: the host's
     * buffer stays valid until the next call of tagsOfType. *count is set. */
    HostElement* const* (*tagsOfType)(const HostElement* object, int32_t typeId, int32_t* count);
} HostTagTable;

/* ---- Bo: objects -------------------------------------------------------- */
typedef struct HostObjectTable {
    int32_t size;
    /* First tag of object; borrowed, or null. */
    HostElement* (*firstTag)(const HostElement* object);
} HostObjectTable;

/* ---- Bd: documents ------------------------------------------------------ */
typedef struct HostDocumentTable {
    int32_t size;
    /* First top-level object / first material; borrowed, or null. */
    HostElement* (*firstObject)(const HostDocument* document);
    HostElement* (*firstMaterial)(const HostDocument* document);
    /* Fills array (emptied first) with the selected objects; flags 0: every
     * selected object, in hierarchy pre-order. false when out of memory. */
    bool (*selectedObjects)(const HostDocument* document, HostArray* array, int32_t flags);
    /* Fills array (emptied first) with the selected materials, in list order. */
    bool (*selectedMaterials)(const HostDocument* document, HostArray* array);
    /* The active render settings; borrowed, or null. */
    HostElement* (*activeRenderSettings)(const HostDocument* document);
    /* Makes element the active (and only selected) object / material; mode 0. */
    void (*setActiveObject)(HostDocument* document, HostElement* object, int32_t mode);
    void (*setActiveMaterial)(HostDocument* document, HostElement* material, int32_t mode);
} HostDocumentTable;

/* ---- Mt: materials ------------------------------------------------------ */
/* Material channels are numbered 0 to 14; channel 3 (Reflectance) holds
 * the reflectance layers instead of one shader. */
#define HOST_MATERIAL_CHANNEL_COUNT 15
#define HOST_CHANNEL_REFLECTANCE 3

typedef struct HostMaterialTable {
    int32_t size;
    /* Channel number (0..14) of material; borrowed, or null when absent. */
    HostChannel* (*channel)(const HostElement* material, int32_t number);
    /* The shader in a channel; borrowed, or null. */
    HostElement* (*channelShader)(const HostChannel* channel);
    /* Fills array (emptied first) with the shaders of the reflectance layers
     * (channel 3). false when out of memory. */
    bool (*reflectanceShaders)(const HostElement* material, HostArray* array);
    /* Re-evaluates a material after its shaders changed. */
    void (*update)(HostElement* material, bool preview, bool render);
} HostMaterialTable;

/* ---- Bu: undo ----------------------------------------------------------- */
#define HOST_UNDO_DELETE 45
typedef struct HostUndoTable {
    int32_t size;
    /* Opens an undo group on document; groups do not nest. */
    bool (*startGroup)(HostDocument* document);
    /* Records the state before a change of element (kind 45: it is about to be
     * unlinked and freed). Must be called before the change. */
    bool (*addStep)(HostDocument* document, int32_t kind, HostElement* element, void* data);
    /* Closes the group; a group that recorded nothing leaves no entry. */
    bool (*endGroup)(HostDocument* document);
} HostUndoTable;

/* ---- Br: render settings ------------------------------------------------ */
typedef struct HostRenderTable {
    int32_t size;
    /* First video post of render settings; borrowed, or null. */
    HostElement* (*firstVideoPost)(const HostElement* renderSettings);
} HostRenderTable;

/* ---- Fi: files ---------------------------------------------------------- */
typedef struct HostFileTable {
    int32_t size;
    /* Opens file with the system's default application; false on failure. */
    bool (*openWithDefaultApplication)(const HostPath* file);
} HostFileTable;

/* ---- Ln: links ---------------------------------------------------------- */
typedef struct HostLinkTable {
    int32_t size;
    /* Element that link points to, looked up in document; borrowed, or null. */
    HostElement* (*resolve)(const HostLink* link, const HostDocument* document);
} HostLinkTable;

/* ---- Gv: generic values ------------------------------------------------- */
#define HOST_DATA_TYPE_LINK 14
typedef struct HostValueTable {
    int32_t size;
    /* Empty value: new (free), or null. */
    HostValue* (*create)(void);
    void (*free)(HostValue* value);
    /* Data type of the value held (0 none, 14 link ...). */
    int32_t (*type)(const HostValue* value);
    /* The link held by a value of type 14; borrowed (from value), or null. */
    HostLink* (*link)(const HostValue* value);
} HostValueTable;

/* ---- Gd: dialogs -------------------------------------------------------- */
/* The host calls a dialog with one message function; msg carries the
 * four-character message id (HostContainerTable.id) and its arguments.
 * result may receive answers; the int32 answer is message specific. */
typedef int32_t (*HostDialogMessageFn)(void* user, const HostContainer* msg, HostContainer* result);

#define HOST_DIALOG_NON_MODAL 20            /* dialog kind saved with the window layout */
#define HOST_NUMBER_FORMAT_FLOAT 0x66726561 /* frea: a plain floating-point field */

#define HOST_MSG_INIT_LAYOUT 0x62494E49    /* bINI: build the layout */
#define HOST_MSG_INIT_VALUES 0x6256494E    /* bVIN: set initial values */
#define HOST_MSG_COMMAND 0x62414354        /* bACT: control used, id under meid */
#define HOST_MSG_KEY_CONTROL_ID 0x6D656964 /* meid */
#define HOST_MSG_ASK_CLOSE 0x63686B63      /* chkc: answer 1 to refuse closing */
#define HOST_MSG_WINDOW_GONE 0x64737479    /* dsty: the window was destroyed */
#define HOST_MSG_INTERACT_START 0x696E7461 /* inta: the user starts an interaction */
#define HOST_MSG_HIDDEN 0x76697346         /* visF */
#define HOST_MSG_SHOWN 0x76697354          /* visT */

typedef struct HostDialogTable {
    int32_t size;
    /* Host side of a dialog, calling message with user; new (destroy), or null. */
    HostDialog* (*create)(HostDialogMessageFn message, void* user);
    /* Closes the window if open and ends the host side. */
    void (*destroy)(HostDialog* dialog);
    bool (*isOpen)(const HostDialog* dialog);
    /* kind 20 non-modal; x/y -1 host's choice; width/height 0 default size. */
    bool (*open)(HostDialog* dialog, int32_t kind, int32_t pluginId, int32_t subId, int32_t x, int32_t y, int32_t width,
                 int32_t height, int32_t flags);
    /* Re-opens the dialog from saved layout data (borrowed). */
    bool (*restore)(HostDialog* dialog, int32_t pluginId, int32_t subId, void* layoutData);
    bool (*close)(HostDialog* dialog);
    /* The base class steps the host runs before the module's own. */
    bool (*defaultLayout)(HostDialog* dialog);
    bool (*defaultValues)(HostDialog* dialog);
    /* Every text argument below is borrowed. */
    void (*setTitle)(HostDialog* dialog, const HostString* title);
    void (*menuClear)(HostDialog* dialog);
    void (*menuSubBegin)(HostDialog* dialog, const HostString* title);
    void (*menuAddCommand)(HostDialog* dialog, int32_t id, const HostString* text);
    void (*menuSubEnd)(HostDialog* dialog);
    void (*menuFinish)(HostDialog* dialog);
    bool (*groupBegin)(HostDialog* dialog, int32_t id, int32_t flags, int32_t columns, int32_t rows,
                       const HostString* title, int32_t groupFlags, int32_t width, int32_t height);
    bool (*groupEnd)(HostDialog* dialog);
    bool (*groupBorderSpace)(HostDialog* dialog, int32_t left, int32_t top, int32_t right, int32_t bottom);
    bool (*groupBorder)(HostDialog* dialog, uint32_t style);
    bool (*addStaticText)(HostDialog* dialog, int32_t id, int32_t flags, int32_t width, int32_t height,
                          const HostString* text, int32_t borderStyle);
    bool (*addComboBox)(HostDialog* dialog, int32_t id, int32_t flags, int32_t width, int32_t height, bool specialAlign,
                        bool allowFiltering);
    bool (*addComboEntry)(HostDialog* dialog, int32_t comboId, int32_t entryId, const HostString* text);
    bool (*clearComboEntries)(HostDialog* dialog, int32_t comboId);
    bool (*addNumberField)(HostDialog* dialog, int32_t id, int32_t flags, int32_t width, int32_t height);
    bool (*addCheckBox)(HostDialog* dialog, int32_t id, int32_t flags, int32_t width, int32_t height,
                        const HostString* text);
    bool (*addButton)(HostDialog* dialog, int32_t id, int32_t flags, int32_t width, int32_t height,
                      const HostString* text);
    /* Custom control of kind guiKind; settings borrowed. borrowed, or null. */
    HostGui* (*addCustomGui)(HostDialog* dialog, int32_t id, int32_t guiKind, const HostString* name, int32_t flags,
                             int32_t minWidth, int32_t minHeight, const HostContainer* settings);
    /* Reading values; false when the control does not exist. */
    bool (*getInt32)(const HostDialog* dialog, int32_t id, int32_t* value);
    bool (*getFloat)(const HostDialog* dialog, int32_t id, double* value);
    bool (*getBool)(const HostDialog* dialog, int32_t id, bool* value);
    /* Setting values (combo boxes: value is the entry id). */
    bool (*setInt32)(HostDialog* dialog, int32_t id, int32_t value, int32_t min, int32_t max, int32_t step,
                     bool tristate);
    bool (*setFloat)(HostDialog* dialog, int32_t id, double value, double min, double max, double step, int32_t format,
                     double min2, double max2, bool quadScale, bool tristate);
    bool (*setBool)(HostDialog* dialog, int32_t id, bool value, bool tristate);
    bool (*enable)(HostDialog* dialog, int32_t id, bool enabled);
} HostDialogTable;

/* ---- At: element arrays ------------------------------------------------- */
typedef struct HostArrayTable {
    int32_t size;
    /* Empty array: new (free), or null. */
    HostArray* (*create)(void);
    void (*free)(HostArray* array);
    int32_t (*count)(const HostArray* array);
    /* Entry index (0 <= index < count); borrowed, may be null. */
    HostElement* (*entry)(const HostArray* array, int32_t index);
} HostArrayTable;

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
    const HostUnusedTable* t_C4DOS_Bf;
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
