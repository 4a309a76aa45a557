// Identifiers of the dialog resources and their controls (Vantrell.rc).
#pragma once

#define IDD_FRMVANTRELL 100
#define IDC_LSTSHOW 101
#define IDC_CMDCLOSE 102
#define IDC_CMDEXPORT 103
#define IDC_CMDPRINT 104

#define IDD_FRMLOCATECHDATA 200
#define IDC_LBLLOCATE 201
#define IDC_CMDOK 202
#define IDC_LOCATECLOSE 203

#define IDD_FRMREVIEW 300
#define IDC_REVIEWSUMMARY 301
#define IDC_REVIEWTICKETSLABEL 302
#define IDC_REVIEWTICKETS 303
#define IDC_REVIEWTOTALSLABEL 304
#define IDC_REVIEWTOTALS 305
#define IDC_REVIEWSAVE 306
#define IDC_REVIEWCLOSE 307

// The main window's commands beyond its buttons, in the list's context menu and the window's
// system menu (whose own commands need the low four bits clear and a value below 0xF000).
#define IDM_REVIEW 0x0110
