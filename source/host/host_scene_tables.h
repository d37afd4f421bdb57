/* The host interface, scene part: the tables through which the module reads
 * and changes the scene graph, the plug-in registry and undo, and the
 * host's numbers they use. Part of host_tables.h; the same ownership words
 * apply. */
#ifndef CLEARTRACE_HOST_SCENE_TABLES_H
#define CLEARTRACE_HOST_SCENE_TABLES_H

#include "host_handles.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Sh: shaders -------------------------------------------------------- */
/* Shaders live below the element that uses them: an object, tag, material
 * or video post owns its shaders, and a shader may hold shaders below it (a
 * layer shader's layers, a filter's input), to any depth. */
typedef struct HostShaderTable {
    int32_t size;
    /* The element (object, tag, material, video post or shader) that owns
     * shader; borrowed, or null. */
    HostElement* (*owner)(const HostElement* shader);
    /* First shader that element (an object, tag, material or video post)
     * owns; the others follow through Bl.next. Borrowed (the element owns
     * it), or null when it owns none. */
    HostElement* (*firstShader)(const HostElement* element);
    /* First shader below shader; the others follow through Bl.next.
     * Borrowed (shader owns it), or null when there is none. */
    HostElement* (*firstBelow)(const HostElement* shader);
} HostShaderTable;

/* ---- Pl: plug-in registry and registration ------------------------------ */
/* Host plug-in kinds (the registry's kind numbers; 0 finds any kind). */
#define HOST_PLUGIN_KIND_ANY 0
#define HOST_PLUGIN_KIND_SHADER 1
#define HOST_PLUGIN_KIND_MATERIAL 2
#define HOST_PLUGIN_KIND_OBJECT 5
#define HOST_PLUGIN_KIND_TAG 6
#define HOST_PLUGIN_KIND_VIDEO_POST 8

typedef struct HostPluginTable {
    int32_t size;
    /* Installed plug-in with this id and kind (0 any); borrowed, or null. */
    HostPluginRecord* (*find)(int32_t id, int32_t kind);
    /* Registered name: new reference (empty for an unnamed one), null when out of memory. */
    HostString* (*name)(const HostPluginRecord* record);
    /* Host plug-in kind number (HOST_PLUGIN_KIND_ ...). */
    int32_t (*kind)(const HostPluginRecord* record);
    /* Registers a plug-in described by record (recordSize bytes, see
     * HostCommandRecord). retains name, help text and icon (the caller frees
     * its own); the host owns the command object from then on and destroys it
     * through the record's destroy callback. false: refused, nothing kept. */
    bool (*registerPlugin)(int32_t version, int32_t kind, int32_t id, const HostString* name, const void* record,
                           int32_t recordSize);
} HostPluginTable;

/* ---- Layer shaders (library HOST_LIBRARY_LAYER_SHADER) ------------------ */
#define HOST_LIBRARY_LAYER_SHADER 450000055

/* Layer shaders: the element type id, the kind of a layer that links a
 * shader, and the layer parameter holding that link. */
#define HOST_LAYER_SHADER_TYPE 1011123
#define HOST_LAYER_KIND_SHADER 2
#define HOST_LAYER_PARAMETER_LINK 2002

typedef struct HostLayerShaderLibrary {
    int32_t size;
    /* First layer of a layer shader (HOST_LAYER_SHADER_TYPE); borrowed, or null. */
    HostLayer* (*firstLayer)(const HostElement* layerShader);
    HostLayer* (*nextLayer)(const HostLayer* layer);
    /* HOST_LAYER_KIND_SHADER; other kinds are folders, adjustments ... */
    int32_t (*kind)(const HostLayer* layer);
    /* Reads parameter id of layer into value; false when it has none. */
    bool (*getParameter)(const HostLayer* layer, int32_t id, HostValue* value);
} HostLayerShaderLibrary;

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
/* The type id of an element that no plug-in made (render settings). */
#define HOST_TYPE_NONE 0

typedef struct HostElementTable {
    int32_t size;
    /* The element's type id (plug-in id of what made it). */
    int32_t (*typeId)(const HostElement* element);
    /* The element's name: new reference (empty for an unnamed one), null when out of memory. */
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
/* The application's Null object, which holds children and draws nothing. */
#define HOST_TYPE_NULL_OBJECT 5140

typedef struct HostObjectTable {
    int32_t size;
    /* First tag of object; borrowed, or null. */
    HostElement* (*firstTag)(const HostElement* object);
    /* A new object of type that stands in for replaced (an object in a
     * document, borrowed): it takes replaced's name and selection state (a
     * host that keeps matrices copies the matrix too), and has no children
     * and no tags. new: in no document; the caller owns it until insertObject
     * and frees it with Bl.free otherwise. null when the host cannot make it. */
    HostElement* (*createObject)(int32_t type, const HostElement* replaced);
    /* Links object (new from createObject, or taken out with Bl.unlink) into
     * document below parent (null: at the top level), right after previous
     * (a child of parent, or of the top level; null: first). parent and
     * previous borrowed. The document owns object from then on. */
    void (*insertObject)(HostDocument* document, HostElement* object, HostElement* parent, HostElement* previous);
    /* Links tag (taken out with Bl.unlink) to object, right after previous
     * (a tag of object; null: first). object and previous borrowed; object
     * owns tag from then on. */
    void (*insertTag)(HostElement* object, HostElement* tag, HostElement* previous);
} HostObjectTable;

/* ---- Bd: documents ------------------------------------------------------ */
#define HOST_SELECTION_ALL 0 /* selectedObjects' flags: every selected object, in hierarchy pre-order */
#define HOST_SELECT_ONLY 0   /* setActiveObject/Material's mode: the active and only selected one */

typedef struct HostDocumentTable {
    int32_t size;
    /* First top-level object / first material; borrowed, or null. */
    HostElement* (*firstObject)(const HostDocument* document);
    HostElement* (*firstMaterial)(const HostDocument* document);
    /* Fills array (emptied first) with the selected objects (flags
     * HOST_SELECTION_ALL). false when out of memory. */
    bool (*selectedObjects)(const HostDocument* document, HostArray* array, int32_t flags);
    /* Fills array (emptied first) with the selected materials, in list order. */
    bool (*selectedMaterials)(const HostDocument* document, HostArray* array);
    /* The active render settings; borrowed, or null. */
    HostElement* (*activeRenderSettings)(const HostDocument* document);
    /* Makes element the active (and only selected) object / material; mode HOST_SELECT_ONLY. */
    void (*setActiveObject)(HostDocument* document, HostElement* object, int32_t mode);
    void (*setActiveMaterial)(HostDocument* document, HostElement* material, int32_t mode);
    /* First render settings of document, in list order (the others follow
     * through Bl.next); borrowed, or null. */
    HostElement* (*firstRenderSettings)(const HostDocument* document);
} HostDocumentTable;

/* ---- Mt: materials ------------------------------------------------------ */
/* Material channels are numbered from 0; the Reflectance channel holds the
 * reflectance layers instead of one shader. */
#define HOST_MATERIAL_CHANNEL_COUNT 15
#define HOST_CHANNEL_REFLECTANCE 3

typedef struct HostMaterialTable {
    int32_t size;
    /* Channel number (0 to HOST_MATERIAL_CHANNEL_COUNT - 1) of material; borrowed, or null when absent. */
    HostChannel* (*channel)(const HostElement* material, int32_t number);
    /* The shader in a channel; borrowed, or null. */
    HostElement* (*channelShader)(const HostChannel* channel);
    /* Fills array (emptied first) with the shaders of the reflectance layers
     * (HOST_CHANNEL_REFLECTANCE). false when out of memory. */
    bool (*reflectanceShaders)(const HostElement* material, HostArray* array);
    /* Re-evaluates a material after its shaders changed. */
    void (*update)(HostElement* material, bool preview, bool render);
} HostMaterialTable;

/* ---- Bu: undo ----------------------------------------------------------- */
/* Undo step kinds, and when each is recorded: a new element after it was
 * inserted; an element that is deleted or moved before that change. */
#define HOST_UNDO_NEW 44
#define HOST_UNDO_DELETE 45
#define HOST_UNDO_MOVE 49
typedef struct HostUndoTable {
    int32_t size;
    /* Opens an undo group on document; groups do not nest. false when the
     * host cannot keep one (out of memory): no group is open. */
    bool (*startGroup)(HostDocument* document);
    /* Records a change of element in the open group: HOST_UNDO_DELETE before
     * it is unlinked to be freed, HOST_UNDO_MOVE before it is unlinked to be
     * inserted elsewhere, HOST_UNDO_NEW after it was inserted. false when the
     * host cannot record it: nothing is recorded, and a change still to come
     * must not be made (a new element already inserted must be taken out and
     * freed by the caller), as undo could not take it back. */
    bool (*addStep)(HostDocument* document, int32_t kind, HostElement* element, void* data);
    /* Closes the group; a group that recorded nothing leaves no entry. false
     * when the host cannot keep the entry: the group stays open, as it was. */
    bool (*endGroup)(HostDocument* document);
    /* Closes the open group leaving no undo step, taking back what it
     * recorded, last recorded first: every element whose deletion step it
     * holds is put back where it was and belongs to the document again (the
     * caller's ownership of an unlinked one ends; one still in place stays);
     * every moved element goes back to where it was; every new one is taken
     * out and freed. The host may keep what was taken back as a redo step,
     * which makes the recorded part again only if the user asks for Redo: the
     * caller relies on the scene being as before, not on the redo list. The
     * deleted elements must not have been freed. Needs no memory: never
     * fails. */
    void (*cancelGroup)(HostDocument* document);
} HostUndoTable;

/* ---- Br: render settings ------------------------------------------------ */
typedef struct HostRenderTable {
    int32_t size;
    /* First video post of render settings; borrowed, or null. */
    HostElement* (*firstVideoPost)(const HostElement* renderSettings);
} HostRenderTable;

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
    /* Data type of the value held (0 none, HOST_DATA_TYPE_LINK ...). */
    int32_t (*type)(const HostValue* value);
    /* The link held by a value of HOST_DATA_TYPE_LINK; borrowed (from value), or null. */
    HostLink* (*link)(const HostValue* value);
} HostValueTable;

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

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif
