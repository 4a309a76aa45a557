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
