// Resource numbers shared by Vivlan.rc and the Windows toolkit backend.
#pragma once

// Every picture is an icon of the sizes the system asks at each scale, in 32 bits with
// transparency. The active icon comes first so that it is the program file's icon.
#define IDI_ICONE_ACTIVE 1
#define IDI_ICONE_INACTIVE 2

// The pictures of the command menu, drawn into bitmaps by the toolkit.
#define IDI_MENU_CONFIG 10
#define IDI_MENU_AIDE 11

// Button glyphs.
#define IDI_GLYPH_OK 20
#define IDI_GLYPH_ANNULER 21
#define IDI_GLYPH_ACTIVATION 22
#define IDI_GLYPH_PARCOURIR 23
#define IDI_GLYPH_TEST 24
#define IDI_FLECHE_HAUT 25
#define IDI_FLECHE_BAS 26
#define IDI_PLUS 27
#define IDI_MOINS 28
