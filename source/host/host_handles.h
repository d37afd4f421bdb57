/* The host's opaque handles, shared by every part of the host interface.
 * The ownership words of host_tables.h apply. */
#ifndef CLEARTRACE_HOST_HANDLES_H
#define CLEARTRACE_HOST_HANDLES_H

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
typedef struct HostFileList HostFileList;

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif
