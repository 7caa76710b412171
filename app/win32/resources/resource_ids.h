#pragma once
// The program's resources: glimmerbox.rc with the application icon, the
// relation list's image strip, the version block and the manifest (common
// controls 6, per-monitor DPI awareness, asInvoker).
//
// A target takes them in with
//     include(app/win32/resources/resources.cmake)
//     glimmer_add_resources(<target>)
// which adds glimmerbox.rc and hands it the project version; the pictures are
// drawn by tools/draw_resources (a test checks the committed copies).

// RT_GROUP_ICON: a glowing LED, 16, 20, 24, 32 and 48 px, 32-bit with alpha.
// LoadIconMetric (or LoadImage with the wanted size) picks the nearest size.
#define IDI_GLIMMERBOX 1

// RT_BITMAP: a 32 x 16 strip of two 16 x 16 images, 32-bit with straight
// alpha: image 0 a green check mark, image 1 a red cross. Keeps its alpha with
//     ImageList_Create(16, 16, ILC_COLOR32, 2, 0) and
//     ImageList_Add(list, LoadImage(instance, MAKEINTRESOURCE(IDB_RELATION_MARKS),
//                   IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), nullptr)
#define IDB_RELATION_MARKS 100
