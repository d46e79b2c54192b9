#ifndef VANTREL_RESOURCE_IDS_H
#define VANTREL_RESOURCE_IDS_H

// The module's resource, control and command ids and its export ordinals,
// read by windres (vantrel.rc, options_dialogs.rc) and by the C++ sources:
// plain #defines only.
//
// Where two names of one kind share a value on purpose, the comment right
// above the second one has a line "shared with FIRST: why", FIRST the other
// name; tests/resource_ids_test.cpp fails on any other sharing. Icons, menus
// and dialogs count as one kind.

// ---- Icons and other resources ----------------------------------------

// The module's icon, drawn beside "データがありません" when the view is empty.
#define IDI_VANTREL 112

// The high-resolution declaration has no number: the shell looks it up by
// name, resource HI_RES_AWARE of type CEUX (see vantrel.rc).

// ---- Menus --------------------------------------------------------------

// The Filter, Command and Data popups, picked by index (kPopupFilter ...).
#define IDR_POPUP_MENUS 103
// The OK / キャンセル menu bar of the item's own dialogs.
#define IDR_DIALOG_MENU_BAR 109

// ---- Dialogs ------------------------------------------------------------

// The entry edit dialog.
#define IDD_ENTRY_EDIT 108
// The tag and search dialog.
// shared with IDR_DIALOG_MENU_BAR: intended, a dialog and a menu are
// different resource types, and the dialog shows that menu bar.
#define IDD_TAG_SEARCH 109
// The options host the Today screen opens with the procedure at
// ORDINAL_CUSTOMITEMOPTIONSDLGPROC.
#define IDD_OPTIONS_HOST 500
// The nine pages of the options sheet, in sheet order.
#define IDD_PAGE_BASIC 104
#define IDD_PAGE_DISPLAY1 119
#define IDD_PAGE_DISPLAY2 105
#define IDD_PAGE_DISPLAY3 501
#define IDD_PAGE_DAY_RANGE 106
#define IDD_PAGE_COLOUR 107
#define IDD_PAGE_OPERATION 110
#define IDD_PAGE_APPOINTMENTS 116
#define IDD_PAGE_TASKS 118
#define IDD_COLOUR_CHOOSER 132

// ---- Controls, per dialog -----------------------------------------------
// A number box's up-down takes the box's id + 1 (NUMBER in
// options_dialogs.rc); that id stays free. Runs of controls the code
// indexes from the first are named by their first id.

// Labels without an id; windows.h leaves it to winres.h.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// IDD_ENTRY_EDIT
#define IDC_ENTRY_TITLE 1000
#define IDC_ENTRY_START_DATE 1001
#define IDC_ENTRY_START_TIME 1002
#define IDC_ENTRY_END_DATE 1003
#define IDC_ENTRY_END_TIME 1004
#define IDC_ENTRY_TAG_LABEL 1006
#define IDC_ENTRY_TAG_COMBO 1007
#define IDC_ENTRY_PIN 1008
#define IDC_ENTRY_TIME_BOX 1009
#define IDC_ENTRY_END_BOX 1010
#define IDC_ENTRY_TODO 1013
#define IDC_ENTRY_DATE_LABEL 1018
#define IDC_ENTRY_END_LABEL 1019
#define IDC_ENTRY_TAG_LIST 1039
#define IDC_ENTRY_TAG_REGISTER 1040
#define IDC_ENTRY_TAG_REMOVE 1041

// IDD_TAG_SEARCH
// shared with IDC_ENTRY_END_LABEL: intended, another dialog.
#define IDC_TAG_SEARCH_TEXT 1019

// IDD_OPTIONS_HOST: IDOK and IDCANCEL only.

// IDD_PAGE_BASIC (基本)
#define IDC_BASIC_PATH 1101
#define IDC_BASIC_BROWSE 1102
#define IDC_BASIC_OWN 1103
#define IDC_BASIC_APPOINTMENTS 1104
#define IDC_BASIC_TASKS 1105
#define IDC_BASIC_FILTER_BOX 1106
#define IDC_BASIC_FILTER_LIST 1107
#define IDC_BASIC_LINES 1108
#define IDC_BASIC_LINES_FOLLOW_DATA 1110
#define IDC_BASIC_DELETE_SETTINGS 1111
#define IDC_BASIC_CLEAN_DATA 1112

// IDD_PAGE_DISPLAY1 (表示1)
#define IDC_DISPLAY1_DRAW_CHECK 1201
#define IDC_DISPLAY1_DRAW_ICON 1202
#define IDC_DISPLAY1_DRAW_WDAY 1203
#define IDC_DISPLAY1_DRAW_SPAN 1204
#define IDC_DISPLAY1_DRAW_TOMORROW 1205
#define IDC_DISPLAY1_CHECK_DATE 1206
#define IDC_DISPLAY1_CHECK_STRIKE_OUT 1207
#define IDC_DISPLAY1_AUTO_UPDATE 1208
#define IDC_DISPLAY1_RESET_TIME 1209
#define IDC_DISPLAY1_MAX_MINUTES 1211

// IDD_PAGE_DISPLAY2 (表示2); the three column lists are consecutive.
#define IDC_DISPLAY2_FONT 1301
#define IDC_DISPLAY2_FONT_SIZE 1302
#define IDC_DISPLAY2_LINE_SPACE 1304
#define IDC_DISPLAY2_WIDTH_SEP 1306
#define IDC_DISPLAY2_WIDTH_DAY_COUNT 1308
#define IDC_DISPLAY2_WIDTH_DATE 1310
#define IDC_DISPLAY2_WIDTH_MEMO 1312
#define IDC_DISPLAY2_SHORT_VIEW 1314
#define IDC_DISPLAY2_POS_DAY_COUNT 1315
#define IDC_DISPLAY2_POS_DATE 1316
#define IDC_DISPLAY2_POS_MEMO 1317

// IDD_PAGE_DISPLAY3 (表示3)
#define IDC_DISPLAY3_EX_FOCUS 1401
#define IDC_DISPLAY3_EX_FONT 1402
#define IDC_DISPLAY3_EX_FONT_SIZE 1403
#define IDC_DISPLAY3_EX_FOCUS_TIME 1405

// IDD_PAGE_DAY_RANGE (日数); the eight range boxes are two apart, in
// this order.
#define IDC_DAY_RANGE_FUTURE 1501
#define IDC_DAY_RANGE_START_WEEK 1502
#define IDC_DAY_RANGE_MINUS2 1510
#define IDC_DAY_RANGE_MINUS1 1512
#define IDC_DAY_RANGE_ZERO_START 1514
#define IDC_DAY_RANGE_ZERO_END 1516
#define IDC_DAY_RANGE_PLUS1 1518
#define IDC_DAY_RANGE_PLUS2 1520
#define IDC_DAY_RANGE_FILTER_START 1522
#define IDC_DAY_RANGE_FILTER_END 1524
#define IDC_DAY_RANGE_TODO_BOX 1530
#define IDC_DAY_RANGE_TODO_SPAN 1531
#define IDC_DAY_RANGE_OVER_DAYS 1533

// IDD_PAGE_COLOUR (色)
#define IDC_COLOUR_LABEL 1601  // 13 labels, painted in their colours
#define IDC_COLOUR_BUTTON 1620 // 15 buttons, one per colour
#define IDC_COLOUR_DRAW_TODAY 1641
#define IDC_COLOUR_DRAW_ANNIV 1642
#define IDC_COLOUR_DRAW_TODO 1643
#define IDC_COLOUR_DRAW_POS_BAR 1644
#define IDC_COLOUR_DRAW_POS_BAR_BK 1645
#define IDC_COLOUR_FOCUS_TX 1646
#define IDC_COLOUR_FOCUS_BK 1647
#define IDC_COLOUR_REVERT 1650

// IDD_PAGE_OPERATION (操作)
#define IDC_OPERATION_TAP_HOLD 1701
#define IDC_OPERATION_TAP 1702
#define IDC_OPERATION_ACTION 1703
#define IDC_OPERATION_UP 1704
#define IDC_OPERATION_DOWN 1705
#define IDC_OPERATION_LEFT 1706
#define IDC_OPERATION_RIGHT 1707
#define IDC_OPERATION_DEL_WARN 1711
#define IDC_OPERATION_CHECK_WARN 1712
#define IDC_OPERATION_CHECK_SORT 1713
#define IDC_OPERATION_CHECK_TIME 1714

// IDD_PAGE_APPOINTMENTS (予定表)
#define IDC_APPT_HIDE_CATEGORIES 1801
#define IDC_APPT_HIDDEN_CATEGORIES 1802
#define IDC_APPT_SHOW_CATEGORIES 1803
#define IDC_APPT_SHOWN_CATEGORIES 1804
#define IDC_APPT_BUSY_FREE 1805
#define IDC_APPT_BUSY_TENTATIVE 1806
#define IDC_APPT_BUSY_BUSY 1807
#define IDC_APPT_BUSY_OUT_OF_OFFICE 1808
#define IDC_APPT_SENS_NORMAL 1809
#define IDC_APPT_SENS_PERSONAL 1810
#define IDC_APPT_SENS_PRIVATE 1811
#define IDC_APPT_SENS_CONFIDENTIAL 1812

// IDD_PAGE_TASKS (仕事)
#define IDC_TASK_HIDE_CATEGORIES 1901
#define IDC_TASK_HIDDEN_CATEGORIES 1902
#define IDC_TASK_SHOW_CATEGORIES 1903
#define IDC_TASK_SHOWN_CATEGORIES 1904
#define IDC_TASK_IMPORTANCE_LOW 1905
#define IDC_TASK_IMPORTANCE_NORMAL 1906
#define IDC_TASK_IMPORTANCE_HIGH 1907
#define IDC_TASK_SENS_NORMAL 1908
#define IDC_TASK_SENS_PERSONAL 1909
#define IDC_TASK_SENS_PRIVATE 1910
#define IDC_TASK_SENS_CONFIDENTIAL 1911

// IDD_COLOUR_CHOOSER (色選択); the six number boxes are two apart, R G B
// then H S L.
#define IDC_CHOOSER_PALETTE 2001 // 48 swatches, row by row
#define IDC_CHOOSER_OPENING 2050
#define IDC_CHOOSER_CURRENT 2051
#define IDC_CHOOSER_VARIANT 2052 // 5 swatches: hue + 60 .. + 300
#define IDC_CHOOSER_KEPT 2057    // 4 swatches
#define IDC_CHOOSER_PREVIEW 2061
#define IDC_CHOOSER_RED 2070
#define IDC_CHOOSER_GREEN 2072
#define IDC_CHOOSER_BLUE 2074
#define IDC_CHOOSER_HUE 2076
#define IDC_CHOOSER_SATURATION 2078
#define IDC_CHOOSER_LIGHTNESS 2080
#define IDC_CHOOSER_RED_CAPTION 2082
#define IDC_CHOOSER_GREEN_CAPTION 2083
#define IDC_CHOOSER_BLUE_CAPTION 2084

// ---- Menu commands ------------------------------------------------------

// IDR_POPUP_MENUS, Filter popup.
#define IDM_FILTER_ALL 40003
#define IDM_FILTER_TODAY 40004
#define IDM_FILTER_YESTERDAY 40005
#define IDM_FILTER_TOMORROW 40006
#define IDM_FILTER_FROM_NOW 40007
#define IDM_FILTER_WEEK_AHEAD 40008
#define IDM_FILTER_THIS_WEEK 40009
#define IDM_FILTER_NEXT_WEEK 40010
#define IDM_FILTER_TAG 40021
#define IDM_FILTER_TODO 40022
#define IDM_FILTER_RANGE 40023
#define IDM_FILTER_SEARCH 40029
#define IDM_FILTER_PAST 40033

// IDR_POPUP_MENUS, Command popup.
#define IDM_REFRESH 40012
#define IDM_FILTER_MENU 40013
#define IDM_CHECK 40014
#define IDM_ADD 40015
#define IDM_EDIT 40016
#define IDM_DELETE 40017
#define IDM_PIN 40020
#define IDM_DUPLICATE 40024
#define IDM_DATA_MENU 40025
#define IDM_NEW_APPOINTMENT 40031
#define IDM_NEW_TASK 40032
#define IDM_ENLARGE 40034
#define IDM_COPY 40035

// IDR_POPUP_MENUS, Data popup: the sources, checked when shown.
#define IDM_SOURCE_OWN 40026
#define IDM_SOURCE_APPOINTMENTS 40027
#define IDM_SOURCE_TASKS 40028

// In no menu: ends a pending menu without a command; the window handles
// it alone.
#define IDM_DISMISS 40019

// IDR_DIALOG_MENU_BAR; its commands go to the dialog that shows it.
#define IDM_BAR_OK 40018
// shared with IDM_ADD: intended, the bar's commands go to the dialog and
// never reach the item's window.
#define IDM_BAR_CANCEL 40015

// ---- Export ordinals ----------------------------------------------------
// The Today screen finds the two exports by these numbers; vantrel.def
// cannot include this file and writes them out.

#define ORDINAL_INITIALIZECUSTOMITEM 240
#define ORDINAL_CUSTOMITEMOPTIONSDLGPROC 241

#endif
