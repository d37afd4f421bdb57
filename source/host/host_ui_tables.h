/* The host interface, user-interface part: containers, bitmaps, paths,
 * drawing, libraries and the tree view, files and dialogs, and the host's
 * numbers they use. Part of host_tables.h; the same ownership words apply. */
#ifndef CLEARTRACE_HOST_UI_TABLES_H
#define CLEARTRACE_HOST_UI_TABLES_H

#include "host_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Bc: containers (id -> value maps; dialog messages, settings) ------- */
#define HOST_CONTAINER_PLAIN 0 /* the id of a container that is no message (settings, layouts, menus) */

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
/* load's answers: the image was read, or why not. */
#define HOST_BITMAP_LOADED 1
#define HOST_BITMAP_MISSING (-1)    /* no such file, or not readable */
#define HOST_BITMAP_WRONG_TYPE 2    /* not an image of a known format */
#define HOST_BITMAP_BROKEN 5        /* the format's signature, but no valid header */
#define HOST_BITMAP_PIXEL_RATIO 100 /* property: the pixel ratio */

typedef struct HostBitmapTable {
    int32_t size;
    /* new (free), or null. */
    HostBitmap* (*create)(void);
    void (*free)(HostBitmap* bitmap);
    /* Loads an image file; one of the HOST_BITMAP_ answers above. */
    int32_t (*load)(HostBitmap* bitmap, const HostPath* file);
    /* Sets a numeric property (HOST_BITMAP_PIXEL_RATIO). */
    void (*setProperty)(HostBitmap* bitmap, int32_t property, double value);
} HostBitmapTable;

/* ---- Fn: paths ---------------------------------------------------------- */
/* select's modes: a folder to open, or a file to save. */
#define HOST_SELECT_SAVE 1
#define HOST_SELECT_FOLDER 2

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
    /* Last element of path: new reference (empty for an empty path), null when out of memory. */
    HostString* (*lastComponent)(const HostPath* path);
    bool (*equal)(const HostPath* a, const HostPath* b);
    bool (*isEmpty)(const HostPath* path);
    /* System form of the path: new reference, null when out of memory. */
    HostString* (*toString)(const HostPath* path);
    /* Parses a system path: new, or null. */
    HostPath* (*fromString)(const HostString* text);
    /* The host's modal chooser of a folder or a file to save (mode
     * HOST_SELECT_), titled title (borrowed). For a save, path holds the name
     * proposed. true when the user chose: path holds the choice; false when
     * the user cancelled: path is as it was. */
    bool (*select)(HostPath* path, int32_t mode, const HostString* title);
    /* Writes into real (the caller's) the path of what is at path (borrowed)
     * with every link followed and every "." and ".." taken out. false when
     * nothing is there (a link to nothing included): real is as it was. The
     * caller made real, so no answer means out of memory. */
    bool (*realPath)(const HostPath* path, HostPath* real);
} HostPathTable;

/* ---- Cu: drawing areas of custom controls (the tree view's cells) ------- */
#define HOST_DRAW_SETTING_TEXT 1 /* the drawing setting a cell's text is drawn with */
#define HOST_DRAW_TEXT_PLAIN 0   /* drawText's flags: text as it is */

typedef struct HostDrawTable {
    int32_t size;
    /* Width in pixels of text drawn in area; text borrowed. */
    int32_t (*textWidth)(HostDrawArea* area, const HostString* text);
    /* Height of the area's font in pixels (the row height). */
    int32_t (*fontHeight)(HostDrawArea* area);
    /* Fills the rectangle (x1, y1)-(x2, y2), both corners inclusive. */
    void (*fillRect)(HostDrawArea* area, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    /* The area's one-number drawing setting (line/text mode): HOST_DRAW_SETTING_TEXT. */
    void (*setDrawSetting)(HostDrawArea* area, int32_t value);
    /* Text colour and text background colour, as host colour ids. */
    void (*setTextColors)(HostDrawArea* area, int32_t text, int32_t background);
    /* Draws text with its top left corner at (x, y); text borrowed; flags HOST_DRAW_TEXT_PLAIN. */
    void (*drawText)(HostDrawArea* area, const HostString* text, int32_t x, int32_t y, int32_t flags);
} HostDrawTable;

/* ---- Lr: libraries ------------------------------------------------------ */
/* Library tables, reached through HostLibraryTable.find. */
#define HOST_LIBRARY_TREE_VIEW 1000475

/* Tree-view control: boolean settings keys of its custom control, its
 * minimum height, the column kind whose cells the module draws, and the
 * entry the host puts into a row's context menu before asking the module. */
#define HOST_TREE_VIEW_HEADER_ROW 0x74766868   /* tvhh: the header row is shown */
#define HOST_TREE_VIEW_BORDER 0x62726472       /* brdr: a frame is drawn around the list */
#define HOST_TREE_VIEW_FIXED_LAYOUT 0x7476666C /* tvfl: the columns keep their layout */
#define HOST_TREE_VIEW_MIN_HEIGHT (HOST_SIZE_PIXELS | 100)
#define HOST_TREE_VIEW_COLUMN_USER 0x75736572 /* user: cells drawn by the module */
#define HOST_TREE_VIEW_MENU_HOST_ENTRY 1      /* the host's own context-menu entry */
/* Host colour ids for a cell's text and its background. */
#define HOST_COLOR_TEXT 1003
#define HOST_COLOR_TEXT_BACKGROUND 1000

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
    /* new reference (the host releases it); null: no name. */
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

/* ---- Fi: files ---------------------------------------------------------- */
typedef struct HostFileTable {
    int32_t size;
    /* Opens file with the system's default application; false on failure. */
    bool (*openWithDefaultApplication)(const HostPath* file);
    /* Replaces file with bytes[0..length) (borrowed) whole, or not at all:
     * written beside it under another name, then renamed over it; a link is
     * written through (its target replaced, the link kept), and a replaced
     * file keeps its permissions. false when it could not be (file, as it was
     * before, is untouched). */
    bool (*writeWhole)(const HostPath* file, const void* bytes, int64_t length);
    /* Makes folder (borrowed) and every folder above it that is missing.
     * true when folder is a folder afterwards, made now or there before;
     * false when it could not be made (the folders above made until then
     * stay). */
    bool (*makeFolders)(const HostPath* folder);
    /* Whether anything is at path (borrowed): a file, a folder, or a link,
     * even one whose target is gone. */
    bool (*exists)(const HostPath* path);
    /* Deletes the file or the empty folder at path (borrowed); a link itself,
     * never its target. false when nothing was deleted: nothing there, a
     * folder that is not empty, or refused. */
    bool (*remove)(const HostPath* path);
} HostFileTable;

/* ---- Bf: browsing folders for files ------------------------------------- */
/* What an entry of a file list is. */
#define HOST_LISTED_SCENE_FILE 1        /* a scene file */
#define HOST_LISTED_UNLISTABLE_FOLDER 2 /* a folder whose entries could not be read */
/* listMore's answers. */
#define HOST_LISTING_MORE 1          /* more is to be listed */
#define HOST_LISTING_DONE 0          /* listed to the end */
#define HOST_LISTING_OUT_OF_MEMORY 2 /* cut short: the entries so far stay, no more come */

typedef struct HostBrowseTable {
    int32_t size;
    /* Begins listing folder (borrowed): a list without entries yet, which
     * listMore grows to every scene file below folder, its subfolders
     * included, and every folder there (folder itself included) that could
     * not be listed. Each real folder is listed once, under the first path met
     * in the byte order of the relative paths. new (free), or null when out
     * of memory. */
    HostFileList* (*beginSceneFiles)(const HostPath* folder);
    /* Goes through up to budget (> 0) more entries of the folders below,
     * appending what it lists to list (entries already there keep their
     * index), in no stated order: HOST_LISTING_ answer. Once it answered DONE
     * or OUT_OF_MEMORY, calling it again is a fault. */
    int32_t (*listMore)(HostFileList* list, int32_t budget);
    void (*free)(HostFileList* list);
    int32_t (*count)(const HostFileList* list);
    /* Entry index (0 <= index < count): HOST_LISTED_ kind. */
    int32_t (*kind)(const HostFileList* list, int32_t index);
    /* Its path relative to the listed folder, '/' between names ("" for the
     * folder itself): new reference, null when out of memory. */
    HostString* (*relativePath)(const HostFileList* list, int32_t index);
    /* Its path; borrowed from list. */
    const HostPath* (*path)(const HostFileList* list, int32_t index);
} HostBrowseTable;

/* ---- Gd: dialogs -------------------------------------------------------- */
/* The host calls a dialog with one message function; msg carries the
 * four-character message id (HostContainerTable.id) and its arguments.
 * result may receive answers; the int32 answer is message specific. */
typedef int32_t (*HostDialogMessageFn)(void* user, const HostContainer* msg, HostContainer* result);

#define HOST_DIALOG_NON_MODAL 20      /* dialog kind saved with the window layout */
#define HOST_DIALOG_POSITION_ANY (-1) /* open's x or y: the host chooses */
#define HOST_DIALOG_OPEN_PLAIN 0      /* open's flags: none */

/* Layout flags of a control in its grid cell: a horizontal part (bits 3 to 5)
 * plus a vertical part (bits 0 to 2); 0 centres both ways. A part that fits
 * the cell fills it; one that also scales takes a share of the spare space. */
#define HOST_LAYOUT_CENTER 0
#define HOST_LAYOUT_LEFT 0x08
#define HOST_LAYOUT_RIGHT 0x10
#define HOST_LAYOUT_FIT_WIDTH 0x18
#define HOST_LAYOUT_HORIZONTAL HOST_LAYOUT_FIT_WIDTH /* mask of the horizontal alignment */
#define HOST_LAYOUT_SCALE_WIDTH 0x20
#define HOST_LAYOUT_FILL_WIDTH (HOST_LAYOUT_FIT_WIDTH | HOST_LAYOUT_SCALE_WIDTH)
#define HOST_LAYOUT_TOP 0x01
#define HOST_LAYOUT_BOTTOM 0x02
#define HOST_LAYOUT_FIT_HEIGHT 0x03
#define HOST_LAYOUT_VERTICAL HOST_LAYOUT_FIT_HEIGHT /* mask of the vertical alignment */
#define HOST_LAYOUT_SCALE_HEIGHT 0x04
#define HOST_LAYOUT_FILL_HEIGHT (HOST_LAYOUT_FIT_HEIGHT | HOST_LAYOUT_SCALE_HEIGHT)

/* A control's width or height: 0 or less lets the host choose; otherwise the
 * low 16 bits, with HOST_SIZE_PIXELS marking the host's pixel form. */
#define HOST_SIZE_MASK 0xFFFF
#define HOST_SIZE_PIXELS 0x10000

/* Border styles (groupBorder, addStaticText): a kind in the low bits; for a
 * group, HOST_BORDER_TITLED puts its title into the border. */
#define HOST_BORDER_NONE 0
#define HOST_BORDER_GROUP 5u /* the frame line around a group of controls */
#define HOST_BORDER_TITLED 0x80000000u

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

/* A dialog's answer to a message: done (the layout or the values were made,
 * the command handled; for chkc: closing refused) or not. */
#define HOST_DIALOG_DONE 1
#define HOST_DIALOG_NOT_DONE 0

typedef struct HostDialogTable {
    int32_t size;
    /* Host side of a dialog, calling message with user; new (destroy), or null. */
    HostDialog* (*create)(HostDialogMessageFn message, void* user);
    /* Closes the window if open and ends the host side. */
    void (*destroy)(HostDialog* dialog);
    bool (*isOpen)(const HostDialog* dialog);
    /* kind HOST_DIALOG_NON_MODAL; x/y HOST_DIALOG_POSITION_ANY; width/height 0
     * default size; flags HOST_DIALOG_OPEN_PLAIN. */
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

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif
