// Resource numbers shared by Vivlan.rc and the Windows toolkit backend.
#pragma once

// The active icon comes first so that it is the program file's icon.
#define IDI_ICONE_ACTIVE 1
#define IDI_ICONE_INACTIVE 2

// 16 x 16 menu bitmaps, grey (192, 192, 192) standing for the menu's colour.
#define IDB_MENU_CONFIG 10
#define IDB_MENU_AIDE 11

// 16 x 16 button glyphs.
#define IDI_GLYPH_OK 20
#define IDI_GLYPH_ANNULER 21
#define IDI_GLYPH_ACTIVATION 22
#define IDI_GLYPH_PARCOURIR 23
#define IDI_GLYPH_TEST 24
#define IDI_FLECHE_HAUT 25
#define IDI_FLECHE_BAS 26
#define IDI_PLUS 27
#define IDI_MOINS 28
