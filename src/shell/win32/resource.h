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

#define IDD_FRMHISTORY 400
#define IDC_HISTORYEXPORTSLABEL 401
#define IDC_HISTORYEXPORTS 402
#define IDC_HISTORYSETTLED 403
#define IDC_HISTORYRECEIPT 404
#define IDC_HISTORYTICKETSLABEL 405
#define IDC_HISTORYTICKETS 406
#define IDC_HISTORYTOTALSLABEL 407
#define IDC_HISTORYTOTALS 408
#define IDC_HISTORYOUTCOME 409
#define IDC_HISTORYUNDO 410
#define IDC_HISTORYSAVE 411
#define IDC_HISTORYCLOSE 412

// The main window's commands beyond its buttons, in the list's context menu and the window's
// system menu (whose own commands need the low four bits clear and a value below 0xF000).
#define IDM_REVIEW 0x0110
#define IDM_HISTORY 0x0120
