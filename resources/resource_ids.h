// The ids of the program's resources: menus and tool bars, dialog templates
// and their controls, commands and status-bar panes, and the texts of the
// string table. The tables of every language and the code name ids from here
// only; the resource test reads this file and checks that every id a table
// uses has a name here and that no number is named twice.
//
// Include it from .cpp files, not from headers: a source keeps its own names
// apart from these, and a new id rebuilds only the sources that use ids.
//
// Every line is a comment or `constexpr unsigned NAME = number;`, as the
// test reads them. Within a group the names are in number order.
#pragma once

// ---- Menus and tool bars --------------------------------------------------

constexpr unsigned IDR_MAINFRAME = 128;  // the menu bar and the edit tool bar
// The board view's right-button menus, one popup each, by work stage; the
// spare one holds only the view items.
constexpr unsigned IDR_POPUP_MACHINING = 137;
constexpr unsigned IDR_POPUP_EDIT = 138;
constexpr unsigned IDR_POPUP_LAYOUT = 152;
constexpr unsigned IDR_POPUP_SPARE = 167;
constexpr unsigned IDR_POPUP_PARTIAL = 170;
constexpr unsigned IDR_POPUP_PATHS = 176;
// The other two tool bars.
constexpr unsigned IDR_MACHINING_BAR = 220;
constexpr unsigned IDR_VISION_BAR = 235;

// ---- Dialog templates, each followed by its controls ----------------------
// OK and Cancel are IDOK and IDCANCEL (platform/host.h) in every dialog.

constexpr unsigned IDD_ABOUTBOX = 100;

constexpr unsigned IDD_PROGRESS = 106;
constexpr unsigned IDC_PROGRESS_X_PERCENT = 1004;
constexpr unsigned IDC_PROGRESS_X_BAR = 1006;
constexpr unsigned IDC_PROGRESS_Y_PERCENT = 1007;
constexpr unsigned IDC_PROGRESS_Y_BAR = 1008;
constexpr unsigned IDC_PROGRESS_LINK_PERCENT = 1009;
constexpr unsigned IDC_PROGRESS_LINK_BAR = 1010;
constexpr unsigned IDC_PROGRESS_CLEAR_PERCENT = 1011;
constexpr unsigned IDC_PROGRESS_CLEAR_BAR = 1012;

constexpr unsigned IDD_WORK_ORDER = 154;
constexpr unsigned IDC_WO_CLEAR = 3;
constexpr unsigned IDC_WO_COMPONENT_GERBER = 1038;
constexpr unsigned IDC_WO_COMPONENT_APERTURE = 1040;
constexpr unsigned IDC_WO_SOLDER_GERBER = 1041;
constexpr unsigned IDC_WO_SOLDER_APERTURE = 1042;
constexpr unsigned IDC_WO_DRILL = 1048;
constexpr unsigned IDC_WO_ROUTE = 1049;
constexpr unsigned IDC_WO_BROWSE_COMPONENT_GERBER = 1058;
constexpr unsigned IDC_WO_BROWSE_COMPONENT_APERTURE = 1059;
constexpr unsigned IDC_WO_BROWSE_SOLDER_GERBER = 1060;
constexpr unsigned IDC_WO_BROWSE_SOLDER_APERTURE = 1061;
constexpr unsigned IDC_WO_BROWSE_DRILL = 1063;
constexpr unsigned IDC_WO_BROWSE_ROUTE = 1065;
constexpr unsigned IDC_WO_APERTURE_SOURCE = 1087;

constexpr unsigned IDD_CALC_SETTINGS = 171;
constexpr unsigned IDC_CALC_ISO_OFFSET = 1046;
constexpr unsigned IDC_CALC_DATA_DENSITY = 1086;
constexpr unsigned IDC_CALC_METHOD = 1087;
constexpr unsigned IDC_CALC_PLUNGE_OFFSET = 1098;
constexpr unsigned IDC_CALC_KEEP_DATA = 1124;
constexpr unsigned IDC_CALC_GENERATE_LINES = 1125;

constexpr unsigned IDD_EDIT_WND = 178;
constexpr unsigned IDC_EDIT_TEXT = 1046;
constexpr unsigned IDC_EDIT_SAVE = 1113;
constexpr unsigned IDC_EDIT_READ = 1116;
constexpr unsigned IDC_EDIT_CLOSE = 1118;
// Its Undo button sends ID_EDIT_UNDO.

constexpr unsigned IDD_SYSTEM_SETTINGS = 185;
constexpr unsigned IDC_SYS_SYSTEM_DIR = 1046;
constexpr unsigned IDC_SYS_LANGUAGE = 1086;
constexpr unsigned IDC_SYS_UNIT = 1087;
constexpr unsigned IDC_SYS_MODEL = 1088;
constexpr unsigned IDC_SYS_PORT = 1120;
constexpr unsigned IDC_SYS_FILE_AUTO = 1228;
constexpr unsigned IDC_SYS_ROUTE_AUTO = 1233;
constexpr unsigned IDC_SYS_DRILL_DETECT = 1272;
constexpr unsigned IDC_SYS_LIFT_HEIGHT = 1281;

constexpr unsigned IDD_GERBER_RECORD = 190;
constexpr unsigned IDC_RECORD_GROUP = 1047;
constexpr unsigned IDC_RECORD_X1 = 1048;
constexpr unsigned IDC_RECORD_Y1 = 1049;
constexpr unsigned IDC_RECORD_X2 = 1050;
constexpr unsigned IDC_RECORD_Y2 = 1051;
constexpr unsigned IDC_RECORD_TYPE = 1052;
constexpr unsigned IDC_RECORD_WIDTH = 1053;
constexpr unsigned IDC_RECORD_NUMBER = 1134;

constexpr unsigned IDD_APERTURE_DEF = 194;
constexpr unsigned IDC_APERTURE_TYPE = 1086;
constexpr unsigned IDC_APERTURE_LENGTH = 1140;
constexpr unsigned IDC_APERTURE_WIDTH = 1141;
constexpr unsigned IDC_APERTURE_NAME = 1143;

constexpr unsigned IDD_MESSAGE = 196;
constexpr unsigned IDC_MESSAGE_TEXT = 1137;

constexpr unsigned IDD_TOOL_CHANGE = 198;
constexpr unsigned IDC_TC_NUMBER_1 = 1156;
constexpr unsigned IDC_TC_NUMBER_2 = 1157;
constexpr unsigned IDC_TC_NUMBER_3 = 1158;
constexpr unsigned IDC_TC_NUMBER_4 = 1159;
constexpr unsigned IDC_TC_NUMBER_5 = 1160;
constexpr unsigned IDC_TC_NUMBER_6 = 1161;
constexpr unsigned IDC_TC_NUMBER_7 = 1162;
constexpr unsigned IDC_TC_NUMBER_8 = 1163;
constexpr unsigned IDC_TC_NAME_1 = 1164;
constexpr unsigned IDC_TC_NAME_2 = 1165;
constexpr unsigned IDC_TC_NAME_3 = 1166;
constexpr unsigned IDC_TC_NAME_4 = 1167;
constexpr unsigned IDC_TC_NAME_5 = 1168;
constexpr unsigned IDC_TC_NAME_6 = 1169;
constexpr unsigned IDC_TC_NAME_7 = 1170;
constexpr unsigned IDC_TC_NAME_8 = 1171;
constexpr unsigned IDC_TC_SPEED_1 = 1173;
constexpr unsigned IDC_TC_SIZE_UNIT = 1174;
constexpr unsigned IDC_TC_SPEED_UNIT = 1175;
constexpr unsigned IDC_TC_DEPTH_UNIT = 1176;
constexpr unsigned IDC_TC_DEPTH_1 = 1188;
constexpr unsigned IDC_TC_SPEED_2 = 1189;
constexpr unsigned IDC_TC_DEPTH_2 = 1190;
constexpr unsigned IDC_TC_SPEED_3 = 1191;
constexpr unsigned IDC_TC_DEPTH_3 = 1192;
constexpr unsigned IDC_TC_SPEED_4 = 1193;
constexpr unsigned IDC_TC_DEPTH_4 = 1194;
constexpr unsigned IDC_TC_SPEED_5 = 1195;
constexpr unsigned IDC_TC_DEPTH_5 = 1196;
constexpr unsigned IDC_TC_SPEED_6 = 1197;
constexpr unsigned IDC_TC_DEPTH_6 = 1198;
constexpr unsigned IDC_TC_SPEED_7 = 1199;
constexpr unsigned IDC_TC_DEPTH_7 = 1200;
constexpr unsigned IDC_TC_SPEED_8 = 1201;
constexpr unsigned IDC_TC_DEPTH_8 = 1202;

constexpr unsigned IDD_TOOL_SIZE = 207;
constexpr unsigned IDC_TS_MIL = 1046;
constexpr unsigned IDC_TS_TOOL = 1086;
constexpr unsigned IDC_TS_MM = 1188;

constexpr unsigned IDD_PATH_CALC = 212;
constexpr unsigned IDC_PC_DEFAULTS = 3;
constexpr unsigned IDC_PC_PREVIEW = 4;
constexpr unsigned IDC_PC_T1_DEPTH = 1047;
constexpr unsigned IDC_PC_T1_TOOL = 1088;
constexpr unsigned IDC_PC_T2_WIDTH = 1188;
constexpr unsigned IDC_PC_T2_DEPTH = 1189;
constexpr unsigned IDC_PC_T3_WIDTH = 1190;
constexpr unsigned IDC_PC_T3_DEPTH = 1191;
constexpr unsigned IDC_PC_T2_ISO = 1220;
constexpr unsigned IDC_PC_T1_CLEAR = 1221;
constexpr unsigned IDC_PC_T2_CLEAR = 1222;
constexpr unsigned IDC_PC_OVERLAP = 1223;
constexpr unsigned IDC_PC_T1_ISO = 1224;
constexpr unsigned IDC_PC_WIDTH_UNIT = 1226;
constexpr unsigned IDC_PC_DEPTH_UNIT = 1227;
constexpr unsigned IDC_PC_T3_CLEAR = 1229;

constexpr unsigned IDD_LAYER_CONTROL = 213;
constexpr unsigned IDC_LAYER_DRILL = 1048;
constexpr unsigned IDC_LAYER_ROUTE = 1049;
constexpr unsigned IDC_LAYER_T1MIL = 1208;
constexpr unsigned IDC_LAYER_T2ISO = 1209;
constexpr unsigned IDC_LAYER_T2MIL = 1211;
constexpr unsigned IDC_LAYER_T3MIL = 1212;
constexpr unsigned IDC_LAYER_COPPER = 1213;
constexpr unsigned IDC_LAYER_SOLID = 1218;
constexpr unsigned IDC_LAYER_T1ISO = 1219;
constexpr unsigned IDC_LAYER_T4ISO = 1220;

constexpr unsigned IDD_GERBER_FORMAT = 224;
constexpr unsigned IDC_GF_ABSOLUTE = 1076;
constexpr unsigned IDC_GF_INCREMENTAL = 1077;
constexpr unsigned IDC_GF_ZERO_LEADING = 1078;
constexpr unsigned IDC_GF_ZERO_TRAILING = 1079;
constexpr unsigned IDC_GF_ZERO_NONE = 1080;
constexpr unsigned IDC_GF_AUTO_FORMAT = 1177;
constexpr unsigned IDC_GF_LARGE_AREA = 1178;
constexpr unsigned IDC_GF_AREA_FILL = 1179;
constexpr unsigned IDC_GF_OVERLAP_DELETE = 1180;
constexpr unsigned IDC_GF_UNIT_DEC = 1185;
constexpr unsigned IDC_GF_INCH = 1234;
constexpr unsigned IDC_GF_METRIC = 1235;
constexpr unsigned IDC_GF_UNIT_INT = 1236;
constexpr unsigned IDC_GF_APERTURE_INCH = 1237;
constexpr unsigned IDC_GF_APERTURE_METRIC = 1238;
constexpr unsigned IDC_GF_GROUP_FLAG = 1254;

constexpr unsigned IDD_DRILL_FORMAT = 225;
constexpr unsigned IDC_DF_ABSOLUTE = 1076;
constexpr unsigned IDC_DF_RELATIVE = 1077;
constexpr unsigned IDC_DF_LEADING = 1078;
constexpr unsigned IDC_DF_TRAILING = 1079;
constexpr unsigned IDC_DF_NONE = 1080;
constexpr unsigned IDC_DF_AUTO_FORMAT = 1177;
constexpr unsigned IDC_DF_UNIT_DEC = 1185;
constexpr unsigned IDC_DF_COORD_INCH = 1234;
constexpr unsigned IDC_DF_COORD_MM = 1235;
constexpr unsigned IDC_DF_UNIT_INT = 1236;
constexpr unsigned IDC_DF_SIZE_INCH = 1237;
constexpr unsigned IDC_DF_SIZE_MM = 1238;

constexpr unsigned IDD_DXF_SETTINGS = 222;
constexpr unsigned IDC_DXF_UNIT = 1087;
constexpr unsigned IDC_DXF_BOTTOM = 1090;
constexpr unsigned IDC_DXF_DRILL = 1091;
constexpr unsigned IDC_DXF_OUTLINE = 1092;
constexpr unsigned IDC_DXF_MACHINING = 1093;
constexpr unsigned IDC_DXF_TOP = 1229;

constexpr unsigned IDD_DXF_LAYERS = 258;
constexpr unsigned IDC_DXF_LAYER_TEXT = 1046;

constexpr unsigned IDD_PATH_METHOD = 250;
constexpr unsigned IDC_PM_USE_T4 = 1177;
constexpr unsigned IDC_PM_T2_WIDTH = 1265;
constexpr unsigned IDC_PM_T3_WIDTH = 1266;
constexpr unsigned IDC_PM_T1_DEPTH = 1267;
constexpr unsigned IDC_PM_T2_DEPTH = 1268;
constexpr unsigned IDC_PM_T3_DEPTH = 1269;
constexpr unsigned IDC_PM_T1_WIDTH = 1270;
constexpr unsigned IDC_PM_T4_DEPTH = 1271;
constexpr unsigned IDC_PM_T4_WIDTH = 1272;
// The machine's position window and the spindle speed
constexpr unsigned IDD_POSITION = 130;
constexpr unsigned IDC_POS_X = 1001;
constexpr unsigned IDC_POS_Y = 1002;
constexpr unsigned IDC_POS_Z = 1003;
constexpr unsigned IDC_POS_STOP = 1074;
constexpr unsigned IDC_POS_UNIT = 1112;
constexpr unsigned IDD_MACHINING_DATA = 223;
constexpr unsigned IDC_MD_LAYER = 1230;
constexpr unsigned IDC_MD_TOOL_CHANGE = 1178;
constexpr unsigned IDC_MD_SPINDLE_ON = 1179;
constexpr unsigned IDC_MD_TOOL_DIAMETER = 1231;
constexpr unsigned IDC_MD_DEPTH = 1232;
constexpr unsigned IDC_MD_SPEED = 1233;
constexpr unsigned IDC_MD_REFERENCE = 1234;
constexpr unsigned IDD_SPINDLE_SPEED = 247;
constexpr unsigned IDC_SPINDLE_SPEEDS = 1262;

constexpr unsigned IDD_BOARD_POSITION_TEST = 175;
constexpr unsigned IDC_BPT_LEFT_TOP = 1150;
constexpr unsigned IDC_BPT_RIGHT_TOP = 1151;
constexpr unsigned IDC_BPT_LEFT_BOTTOM = 1152;
constexpr unsigned IDC_BPT_RIGHT_BOTTOM = 1153;
constexpr unsigned IDC_BPT_CENTRE = 1154;

constexpr unsigned IDD_PROBE_TEST = 182;
constexpr unsigned IDC_PT_STATE = 1105;

constexpr unsigned IDD_MACHINING_COND = 257;
constexpr unsigned IDC_MC_PLUNGE_HEIGHT = 1048;
constexpr unsigned IDC_MC_REFERENCE_HEIGHT = 1049;
constexpr unsigned IDC_MC_RUN_AFTER_UPLOAD = 1177;
constexpr unsigned IDC_MC_FEED_SPEED = 1276;
constexpr unsigned IDC_MC_LIFT_HEIGHT = 1277;
constexpr unsigned IDC_MC_MEMO = 1278;

// The machine dialogs: parameters, manual control and the values other
// commands ask for
constexpr unsigned IDD_MACHINE_PARAMS = 158;
constexpr unsigned IDC_MP_ENGRAVE_DEPTH = 1046;
constexpr unsigned IDC_MP_DRILL_DEPTH = 1049;
constexpr unsigned IDC_MP_ROUTE_DEPTH = 1050;
constexpr unsigned IDC_MP_RAPID_SPEED = 1059;
constexpr unsigned IDC_MP_PLUNGE_SPEED = 1060;
constexpr unsigned IDC_MP_LIFT_SPEED = 1061;
constexpr unsigned IDC_MP_DEFAULTS = 1063;
constexpr unsigned IDC_MP_ENGRAVE_SPEED = 1065;
constexpr unsigned IDC_MP_ROUTE_SPEED = 1072;

constexpr unsigned IDD_COMMAND = 188;
constexpr unsigned IDC_CMD_TEXT = 1046;
constexpr unsigned IDC_CMD_AXIS_X = 1129;
constexpr unsigned IDC_CMD_AXIS_Y = 1130;
constexpr unsigned IDC_CMD_AXIS_Z = 1131;

constexpr unsigned IDD_NUMBER_INPUT = 208;
constexpr unsigned IDC_NI_VALUE = 1046;
constexpr unsigned IDC_NI_PROMPT = 1189;

constexpr unsigned IDD_JOG = 210;
constexpr unsigned IDC_JOG_MOVE_Y = 1047;
constexpr unsigned IDC_JOG_MOVE_Z = 1048;
constexpr unsigned IDC_JOG_Y_PLUS = 1190;
constexpr unsigned IDC_JOG_Y_MINUS = 1191;
constexpr unsigned IDC_JOG_X_PLUS = 1192;
constexpr unsigned IDC_JOG_X_MINUS = 1193;
constexpr unsigned IDC_JOG_Z_PLUS = 1194;
constexpr unsigned IDC_JOG_Z_MINUS = 1195;
constexpr unsigned IDC_JOG_SPINDLE = 1196;
constexpr unsigned IDC_JOG_HOME = 1197;
constexpr unsigned IDC_JOG_MOVE_X = 1198;
constexpr unsigned IDC_JOG_SPEED = 1204;

constexpr unsigned IDD_ENGRAVE_DEPTH = 216;
constexpr unsigned IDC_ED_DEPTH = 1046;

constexpr unsigned IDD_DRILL_LIST = 240;
constexpr unsigned IDC_DL_TEXT = 1046;

constexpr unsigned IDD_INPUT_SIGNAL = 246;
constexpr unsigned IDC_IS_X_HOME = 1256;
constexpr unsigned IDC_IS_Y_HOME = 1257;
constexpr unsigned IDC_IS_Z_HOME = 1258;
constexpr unsigned IDC_IS_PROBE = 1259;
constexpr unsigned IDC_IS_READ = 1261;

constexpr unsigned IDD_FIXED_PLUNGE = 255;
constexpr unsigned IDC_FP_FIXED = 1273;
constexpr unsigned IDC_FP_DRILL_UP = 1274;
constexpr unsigned IDC_FP_ROUTE_UP = 1275;
constexpr unsigned IDC_FP_DRILL_DOWN = 1276;
constexpr unsigned IDC_FP_ROUTE_DOWN = 1277;
constexpr unsigned IDC_FP_ENGRAVE_UP = 1278;
constexpr unsigned IDC_FP_ENGRAVE_DOWN = 1279;

// ---- Commands of menu items and tool-bar buttons --------------------------
// Each under the menu or tool bar that has it first. A command's prompt in
// the string table ("status-bar text\ntool tip") has the command's id.

// File menu
constexpr unsigned ID_FILE_OPEN_PROJECT = 32905;
constexpr unsigned ID_FILE_SAVE = 32906;
constexpr unsigned ID_FILE_NEW = 32915;
constexpr unsigned ID_FILE_SYSTEM_SETTINGS = 33017;
constexpr unsigned ID_IMPORT_DXF_TO_GERBER = 33130;
constexpr unsigned ID_IMPORT_DXF_TO_CAM = 33131;
constexpr unsigned ID_IMPORT_HPGL_TO_CAM = 33133;
constexpr unsigned ID_FILE_GERBER_FORMAT = 33136;
constexpr unsigned ID_FILE_DRILL_FORMAT = 33137;
constexpr unsigned ID_EXPORT_CALCULATED_PATHS = 33144;
constexpr unsigned ID_IMPORT_CALCULATED_PATHS = 33145;
constexpr unsigned ID_IMPORT_GERBER_TO_CAM = 33148;
constexpr unsigned ID_FILE_CLEAR_SYSTEM_MEMORY = 33225;
constexpr unsigned ID_EXPORT_KXQ = 33279;
constexpr unsigned ID_EXPORT_LASER = 33281;

// Plan menu
constexpr unsigned ID_STAGE_EDIT = 32843;
constexpr unsigned ID_STAGE_PATHS = 32844;
constexpr unsigned ID_STAGE_LAYOUT = 32845;
constexpr unsigned ID_STAGE_PARTIAL = 32957;
constexpr unsigned ID_STAGE_MACHINING = 32992;
constexpr unsigned ID_COMPONENT_SIDE = 33040;
constexpr unsigned ID_SOLDER_SIDE = 33041;
constexpr unsigned ID_PATH_CALCULATION = 33075;
constexpr unsigned ID_LAYER_CONTROL = 33080;
constexpr unsigned ID_PLAN_TOOL_WIDTH_TEST = 33139;
constexpr unsigned ID_SURFACE_COMPENSATION = 33210;

// Region clearing: the document's pad and track regions (no menu item) and
// the view's board-wide short-gap region and reset of the done marks
constexpr unsigned ID_MILL_PADS = 33039;
constexpr unsigned ID_RESET_CLEAR_DONE = 33071;
constexpr unsigned ID_ADD_FULL_CLEAR_AREA = 33072;
// The path stage's route hiding and the reset of the isolation segments'
// done marks (no menu item)
constexpr unsigned ID_PATH_STAGE_HIDE_ROUTE = 33055;
constexpr unsigned ID_RESET_ISO_DONE = 33056;

// Machine menu
constexpr unsigned ID_MACHINE_DRILL = 32900;
constexpr unsigned ID_MACHINE_ROUTE = 32903;
constexpr unsigned ID_MACHINE_PARAMS = 32934;
constexpr unsigned ID_MACHINE_HOME = 32938;
constexpr unsigned ID_SPINDLE_ON = 32943;
constexpr unsigned ID_SPINDLE_OFF = 32944;
constexpr unsigned ID_MACHINE_CONTINUE = 32981;
constexpr unsigned ID_MACHINE_SURFACE_PROBE = 33010;
constexpr unsigned ID_MACHINE_DRILL_LOCATING_HOLES = 33012;
constexpr unsigned ID_MACHINE_TOOL_CHANGE = 33037;
constexpr unsigned ID_MACHINE_DRILL_SELECTION = 33067;
constexpr unsigned ID_MACHINE_JOG = 33073;
constexpr unsigned ID_MACHINE_ENGRAVE = 33120;
constexpr unsigned ID_MACHINE_ENGRAVE_SELECTION = 33127;
constexpr unsigned ID_MACHINE_ENGRAVE_LOCATING_HOLES = 33134;
constexpr unsigned ID_MANUAL_ENGRAVE = 33211;
constexpr unsigned ID_MANUAL_DRILL = 33212;
constexpr unsigned ID_SPINDLE_SPEED = 33216;
constexpr unsigned ID_MANUAL_FIND_HOLES = 33224;
constexpr unsigned ID_FIXED_PLUNGE_MODE = 33262;
constexpr unsigned ID_UPLOAD_DRILL = 33264;
constexpr unsigned ID_UPLOAD_LOCATING_HOLES = 33266;
constexpr unsigned ID_UPLOAD_ENGRAVE_PATHS = 33267;
constexpr unsigned ID_UPLOAD_ROUTE_PATHS = 33268;
constexpr unsigned ID_UPLOAD_CAM_PATHS = 33269;

// Window menu
constexpr unsigned ID_MARK_ONE = 32773;
constexpr unsigned ID_MARK_TWO = 32786;
constexpr unsigned ID_DISPLAY_STYLE = 32809;
constexpr unsigned ID_WINDOW_MEASURE_DATA = 33014;
constexpr unsigned ID_WINDOW_LOCATING_HOLES = 33019;
constexpr unsigned ID_WINDOW_TIME_ESTIMATE = 33034;
constexpr unsigned ID_WINDOW_MACHINE_COORDINATES = 33036;
constexpr unsigned ID_VIEW_MACHINING_TOOLBAR = 33114;
constexpr unsigned ID_VIEW_VISION_TOOLBAR = 33184;
constexpr unsigned ID_WINDOW_MACHINE_INPUTS = 33242;
constexpr unsigned ID_APP_ABOUT = 57664;
constexpr unsigned ID_VIEW_TOOLBAR = 59392;

// The view submenu of every right-button menu
constexpr unsigned ID_ZOOM_OUT = 32790;
constexpr unsigned ID_ZOOM_IN = 32791;
constexpr unsigned ID_ZOOM_PREVIOUS = 32834;
constexpr unsigned ID_WINDOW_ALL = 32835;
constexpr unsigned ID_ZOOM_WINDOW = 32836;

// Right-button menu of the edit stage
constexpr unsigned ID_POPUP_CANCEL = 32825;
constexpr unsigned ID_ADD_COPPER_RECT = 32826;
constexpr unsigned ID_ADD_COPPER_LINE = 32828;
constexpr unsigned ID_ADD_COPPER_CIRCLE = 32829;
constexpr unsigned ID_ROUTE_LINE = 32847;
constexpr unsigned ID_ROUTE_RECT = 32848;
constexpr unsigned ID_ROUTE_CIRCLE = 32849;
constexpr unsigned ID_COPPER_DELETE = 32869;
constexpr unsigned ID_COPPER_COPY = 32870;
constexpr unsigned ID_BLOCK_LAYOUT = 32887;
constexpr unsigned ID_DRILL_ADD = 32917;
constexpr unsigned ID_COPPER_SELECT = 32920;
constexpr unsigned ID_COPPER_UNSELECT = 32921;
constexpr unsigned ID_DRILL_ALIGN = 32922;
constexpr unsigned ID_COPPER_TO_ROUTE_OFFSET = 33062;
constexpr unsigned ID_COPPER_ALIGN = 33066;
constexpr unsigned ID_DRILL_TOOL_SIZES = 33068;
constexpr unsigned ID_DRILL_MOVE = 33070;
constexpr unsigned ID_COPPER_TO_ROUTE_CENTRE = 33084;
constexpr unsigned ID_DATA_RANGE = 33138;
constexpr unsigned ID_INPUT_TEXT = 33142;
constexpr unsigned ID_DRILL_AUTO_ALIGN = 33209;
constexpr unsigned ID_RULER = 33217;
constexpr unsigned ID_COPPER_LINE_WIDTH = 33218;
constexpr unsigned ID_ROUTE_MACHINING_SETUP = 33222;
constexpr unsigned ID_PATHS_OPTIMISE = 33223;
constexpr unsigned ID_COPPER_OFFSET = 33226;
constexpr unsigned ID_ROUTE_FRAME = 33227;
constexpr unsigned ID_DRILL_MIRROR_X = 33229;
constexpr unsigned ID_DRILL_MIRROR_Y = 33230;
constexpr unsigned ID_DRILL_ROTATE = 33231;
constexpr unsigned ID_DRILL_PAD_CALIBRATE = 33239;
constexpr unsigned ID_DXF_CAM_STATE = 33241;
constexpr unsigned ID_PATHS_DELETE_DUPLICATES = 33250;
constexpr unsigned ID_PATHS_GENERATE_ISOLATION = 33251;
constexpr unsigned ID_ISO_SELECT_LINE = 33253;
constexpr unsigned ID_ISO_DELETE = 33254;
constexpr unsigned ID_ISO_UNDO_DELETE = 33255;
constexpr unsigned ID_ISO_UNSELECT = 33256;
constexpr unsigned ID_ISO_LOCK = 33257;
constexpr unsigned ID_ISO_UNLOCK = 33258;
constexpr unsigned ID_ISO_SELECT_AREA = 33259;
constexpr unsigned ID_DXF_CAM_LAYERS = 33277;
constexpr unsigned ID_COPPER_TO_T1_PATH = 33283;

// Right-button menu of the layout stage
constexpr unsigned ID_BLOCK_DELETE = 32880;
constexpr unsigned ID_BLOCK_MOVE = 32881;
constexpr unsigned ID_BLOCK_MIRROR_X = 32888;
constexpr unsigned ID_BLOCK_MIRROR_Y = 32889;
constexpr unsigned ID_BLOCK_COPY = 32894;
constexpr unsigned ID_BLOCK_ROTATE = 32895;
constexpr unsigned ID_LOCATING_HOLE_ADD = 32990;
constexpr unsigned ID_LOCATING_PAIR_FOUR = 33022;
constexpr unsigned ID_LOCATING_PAIR_TWO = 33023;
constexpr unsigned ID_LOCATING_PAIR_ONE = 33024;
constexpr unsigned ID_LOCATING_PAIR_FIVE = 33028;
constexpr unsigned ID_LOCATING_PAIR_THREE = 33029;
constexpr unsigned ID_LOCATING_HOLE_FIND = 33030;
constexpr unsigned ID_BLOCK_COORDINATES = 33046;
constexpr unsigned ID_MACHINE_RANGE_TEST = 33048;
constexpr unsigned ID_AUTO_LAYOUT = 33065;
constexpr unsigned ID_SELECT_MACHINING_DATA = 33081;
constexpr unsigned ID_LAYOUT_CANCEL = 33082;
constexpr unsigned ID_DRILL_COORDINATES = 33244;
constexpr unsigned ID_TOOL_DETECT_INPUT = 33246;
constexpr unsigned ID_TOOL_DETECT_PICK = 33247;
constexpr unsigned ID_TOOL_DETECT_SAVE = 33248;
constexpr unsigned ID_TOOL_DETECT_LOAD = 33249;
constexpr unsigned ID_LOCATING_SQUARE_HOLES = 33260;
constexpr unsigned ID_SELECT_MACHINING_BLOCK = 33261;

// Right-button menu of the machining stage: what it shows
constexpr unsigned ID_SHOW_COPPER = 32949;
constexpr unsigned ID_SHOW_DRILLS = 32950;
constexpr unsigned ID_SHOW_ISOLATION = 32951;
constexpr unsigned ID_SHOW_CLEARING = 32952;
constexpr unsigned ID_SHOW_ROUTE = 32953;
constexpr unsigned ID_SHOW_ITEM_ONE = 33078;
constexpr unsigned ID_SHOW_ITEM_TWO = 33079;

// Right-button menu of the partial selection
constexpr unsigned ID_PARTIAL_UNSELECT_ALL = 32968;
constexpr unsigned ID_PARTIAL_SELECT_ALL = 32969;
constexpr unsigned ID_PARTIAL_OUTLINE_RESUME = 32972;
constexpr unsigned ID_PARTIAL_OUTLINE_PICK = 32973;
constexpr unsigned ID_PARTIAL_CLEARING_RESUME = 32974;
constexpr unsigned ID_PARTIAL_CLEARING_PICK = 32975;

// Only on the edit tool bar
constexpr unsigned ID_MOVE_COPPER = 32871;
constexpr unsigned ID_BOARD_FLIP = 33093;
constexpr unsigned ID_ADD_T2_CLEAR_RANGE = 33102;
constexpr unsigned ID_ADD_T2_ISO_RANGE = 33103;
constexpr unsigned ID_ADD_T1_ISO_RANGE = 33104;
constexpr unsigned ID_ADD_T1_CLEAR_RANGE = 33105;
constexpr unsigned ID_TRIM_SINGLE_PATH = 33106;
constexpr unsigned ID_TRIM_BLOCK_PATH = 33107;
constexpr unsigned ID_SOLID_LINES = 33108;
constexpr unsigned ID_ADD_T3_CLEAR_RANGE = 33146;
constexpr unsigned ID_ADD_T4_ISO_RANGE = 33278;

// Only on the machining tool bar (home also on the vision bar)
constexpr unsigned ID_WORK_AREA_UPPER_LEFT = 33110;
constexpr unsigned ID_WORK_AREA_UPPER_RIGHT = 33111;
constexpr unsigned ID_WORK_AREA_LOWER_RIGHT = 33112;
constexpr unsigned ID_WORK_AREA_LOWER_LEFT = 33113;
constexpr unsigned ID_HOME_RETURN = 33116;
constexpr unsigned ID_ENGRAVE_CAM_DATA = 33132;
constexpr unsigned ID_ADD_LOCATING_HOLES = 33238;

// Only on the vision tool bar
constexpr unsigned ID_PREVIEW_DRILLS = 33151;
constexpr unsigned ID_MOVE_PLUS_Y = 33152;
constexpr unsigned ID_SET_MOVE_DISTANCE = 33173;
constexpr unsigned ID_MOVE_MINUS_Y = 33175;
constexpr unsigned ID_MOVE_MINUS_X = 33176;
constexpr unsigned ID_MOVE_PLUS_X = 33177;
constexpr unsigned ID_CAMERA_FOCUS = 33178;
constexpr unsigned ID_SAMPLE_DRILLS = 33181;
constexpr unsigned ID_DRILL_CAMERA_HOLE = 33182;
constexpr unsigned ID_CAMERA_OFFSET = 33183;
constexpr unsigned ID_KEYBOARD_MOVE = 33187;
constexpr unsigned ID_CLEAR_VISION_TARGETS = 33193;
constexpr unsigned ID_VISION_MEASURE = 33206;

// In no menu and on no tool bar: commands that have a prompt or an update
// handler already, and the Undo button of the text window
constexpr unsigned ID_CALC_ISOLATION_LINES = 32846;
constexpr unsigned ID_MACHINE_ISOLATE = 32901;
constexpr unsigned ID_MACHINE_MILL = 32902;
constexpr unsigned ID_SPARE_COMMAND = 32935;
constexpr unsigned ID_RESET_ENGRAVER = 32948;
constexpr unsigned ID_MACHINE_ISOLATE_MILL = 32980;
constexpr unsigned ID_COMMAND_CONSOLE = 33038;
constexpr unsigned ID_VISION_SYSTEM = 33150;
constexpr unsigned ID_EDIT_UNDO = 57643;
// The view's machine commands in no menu: position monitoring, an empty
// command and one that only has a menu rule
constexpr unsigned ID_MACHINE_MONITOR = 32936;
constexpr unsigned ID_MACHINE_EMPTY = 32937;
constexpr unsigned ID_MACHINE_SPARE = 32982;

// The document's controller switches, in no menu: the DL/EL and EB commands
constexpr unsigned ID_CMD_EL = 32940;
constexpr unsigned ID_CMD_DL = 32941;
constexpr unsigned ID_CMD_EB1 = 32954;
constexpr unsigned ID_CMD_EB0 = 32955;
// Homing and manual moves
constexpr unsigned ID_MACHINE_TRAVEL_TEST = 33053;

// ---- Status-bar panes -----------------------------------------------------
// The string of a pane's id is its width template.

constexpr unsigned ID_INDICATOR_TIME = 102;
constexpr unsigned ID_INDICATOR_CAPS = 59137;
constexpr unsigned ID_INDICATOR_NUM = 59138;
constexpr unsigned ID_INDICATOR_SCRL = 59139;
constexpr unsigned ID_INDICATOR_POSITION = 59142;
constexpr unsigned ID_INDICATOR_STATUS = 59143;

// ---- Texts of the string table --------------------------------------------

constexpr unsigned IDS_PROGRESS_CAPTION = 105;  // in the language library only
constexpr unsigned IDS_DOCUMENT = 128;  // the document type's names, one a line
constexpr unsigned IDS_APP_TITLE = 57344;
constexpr unsigned IDS_READY = 57345;
constexpr unsigned IDS_UNTITLED = 61440;
constexpr unsigned IDS_CALC_STEP_CONNECTIONS = 61447;
constexpr unsigned IDS_CALC_STEP_REMOVE_TEMPLATES = 61448;
constexpr unsigned IDS_CALC_STEP_TEMPLATE_START = 61449;
constexpr unsigned IDS_CALC_STEP_CUT_X = 61450;
constexpr unsigned IDS_CALC_STEP_CUT_Y = 61451;
constexpr unsigned IDS_CALC_STEP_LINK_TEMPLATES = 61452;
constexpr unsigned IDS_CALC_STEP_TEMPLATE_PATHS = 61453;
constexpr unsigned IDS_CALC_STEP_PLUNGE_DEPTHS = 61454;
constexpr unsigned IDS_SORTING_ISOLATION = 61455;
constexpr unsigned IDS_TOOL_TO_SLOT = 61456;
constexpr unsigned IDS_CHOOSE_AXIS = 61457;
constexpr unsigned IDS_RELEASE_PAUSE_BUTTON = 61458;
constexpr unsigned IDS_HOMING = 61459;
constexpr unsigned IDS_MACHINE_CONNECT_FAILED = 61460;
constexpr unsigned IDS_MACHINE_CONNECTED = 61461;
constexpr unsigned IDS_SPINDLE_OFF = 61463;
constexpr unsigned IDS_CHANGE_TOOL = 61464;
constexpr unsigned IDS_TOOL_HEIGHT_NOT_DETECTED = 61465;
constexpr unsigned IDS_REMOVE_DETECT_WIRE = 61466;
constexpr unsigned IDS_TOOL_SLOTS_LOST = 61467;
constexpr unsigned IDS_TOOL_IN_SPINDLE = 61468;
constexpr unsigned IDS_ENGRAVING_CUTTER = 61469;
constexpr unsigned IDS_MILLING_CUTTER = 61470;
constexpr unsigned IDS_ROUTING_CUTTER = 61471;
constexpr unsigned IDS_CALC_CLEARING = 61472;
constexpr unsigned IDS_SORTING_CLEARING = 61473;
constexpr unsigned IDS_FILE_OPEN_ERROR = 61474;
constexpr unsigned IDS_CANCELLED = 61475;
constexpr unsigned IDS_FILE_WRITE_ERROR = 61476;
constexpr unsigned IDS_SAVE_CHANGES = 61477;
constexpr unsigned IDS_PORT_OPEN_FAILED = 61478;
constexpr unsigned IDS_PORT_SETUP_FAILED = 61479;
constexpr unsigned IDS_MAX_ZOOM = 61480;
constexpr unsigned IDS_PAN = 61481;
constexpr unsigned IDS_RELATIVE_POSITION = 61482;
constexpr unsigned IDS_CELLS_OUT_OF_MEMORY = 61483;
constexpr unsigned IDS_MACRO_FILE_ERROR = 61484;
constexpr unsigned IDS_READING_COMPONENT_SIDE = 61485;
constexpr unsigned IDS_READING_SOLDER_SIDE = 61486;
constexpr unsigned IDS_SETTINGS_FILE_ERROR = 61487;
constexpr unsigned IDS_CANNOT_READ_FILE = 61488;
constexpr unsigned IDS_DRILL_OPEN_ERROR = 61490;
constexpr unsigned IDS_MEASURE_WND = 61491;
constexpr unsigned IDS_DRILLS_CANNOT_ALIGN = 61492;
constexpr unsigned IDS_APERTURE_SETTING_ERROR = 61493;
constexpr unsigned IDS_APERTURE_FILE_ERROR = 61494;
constexpr unsigned IDS_APERTURE_FILE_EMPTY = 62190;
constexpr unsigned IDS_NOT_A_PROJECT = 61495;
constexpr unsigned IDS_READING_FILE = 61496;
constexpr unsigned IDS_SAVE_FAILED = 61497;
constexpr unsigned IDS_READ_FAILED = 61498;
constexpr unsigned IDS_ROUTE_WND = 61499;
constexpr unsigned IDS_NOT_VALID_TEMP_FILE = 61500;
constexpr unsigned IDS_MACHINE_POSITION = 61501;
constexpr unsigned IDS_CHANGE_TOOL_NUMBER = 61503;
constexpr unsigned IDS_CHANGE_DRILL = 61504;
constexpr unsigned IDS_CHANGE_TO_ENGRAVING_CUTTER = 61505;
constexpr unsigned IDS_CHANGE_TO_MILLING_CUTTER = 61506;
constexpr unsigned IDS_CHANGE_CUTTING_TOOL = 61507;
constexpr unsigned IDS_SAVING_DRILL = 61509;
constexpr unsigned IDS_SAVING_ROUTE = 61510;
constexpr unsigned IDS_SAVING_JOB = 61511;
constexpr unsigned IDS_SAVING_TOP = 61512;
constexpr unsigned IDS_SAVING_BOTTOM = 61513;
constexpr unsigned IDS_FAILED = 61515;
constexpr unsigned IDS_SUCCEEDED = 61516;
constexpr unsigned IDS_HEIGHT_DETECTOR_OFF = 61517;
constexpr unsigned IDS_INVALID_SELECTION = 61518;
constexpr unsigned IDS_CHOOSE_SECOND_POINT = 61519;
constexpr unsigned IDS_AUTO_ALIGN_DRILLS = 61520;
constexpr unsigned IDS_CHOOSE_DRILL_HOLE = 61521;
constexpr unsigned IDS_FINDING_DRILL_HOLES = 61522;
constexpr unsigned IDS_LINE = 61523;
constexpr unsigned IDS_ROUND = 61524;
constexpr unsigned IDS_SQUARE = 61525;
constexpr unsigned IDS_ASK_DELETE_SELECTION = 61526;
constexpr unsigned IDS_COMMAND_NEEDS_SELECTION = 61527;
constexpr unsigned IDS_COPPER_WIDTH = 61528;
constexpr unsigned IDS_TRACK_POSITION = 61529;
constexpr unsigned IDS_SELECTED_COUNT = 61530;
constexpr unsigned IDS_PAD_POSITION_SIZE = 61531;
constexpr unsigned IDS_CIRCLE_CENTRE = 61532;
constexpr unsigned IDS_OFFSET_MIL = 61533;
constexpr unsigned IDS_ASK_COPY_PLACE = 61534;
constexpr unsigned IDS_ASK_MOVE_PLACE = 61535;
constexpr unsigned IDS_COPY = 61536;
constexpr unsigned IDS_DELETE = 61537;
constexpr unsigned IDS_MOVE = 61538;
constexpr unsigned IDS_MIRROR = 61539;
constexpr unsigned IDS_ROTATE = 61540;
constexpr unsigned IDS_CLICK_AREA_TO_MACHINE = 61541;
constexpr unsigned IDS_HOLE_WND = 61542;
constexpr unsigned IDS_HOLES_DEFINED_TWICE = 61543;
constexpr unsigned IDS_READING_GERBER = 61547;
constexpr unsigned IDS_ALIGNING_SIDES = 61548;
constexpr unsigned IDS_READING_DRILLS = 61549;
constexpr unsigned IDS_ALIGNING_DRILLS = 61550;
constexpr unsigned IDS_DRILLS_NOT_ALIGNED = 61551;
constexpr unsigned IDS_READING_ROUTE = 61552;
constexpr unsigned IDS_AIR_PRESSURE_FAILED = 61558;
constexpr unsigned IDS_ESTIMATED_TIME = 61561;
constexpr unsigned IDS_CALCULATING_BATCH = 61562;
constexpr unsigned IDS_RESTART_MOTORS = 61563;
constexpr unsigned IDS_SIMULATION_NO_DRILL_SIZES = 61564;
constexpr unsigned IDS_SIMULATION_HOLE_TOO_SMALL = 61565;
constexpr unsigned IDS_CHANGE_TO_ROUTING_CUTTER = 61566;
constexpr unsigned IDS_ROUTING_CUTTER_DIAMETER = 61570;
constexpr unsigned IDS_ASK_CLEAR_ROUTE = 61571;
constexpr unsigned IDS_CHOOSE_ROUND_PAD = 61573;
constexpr unsigned IDS_NO_ROUTE_FILE = 61575;
constexpr unsigned IDS_CALC_SECOND_CUTTER = 61576;
constexpr unsigned IDS_TOOL_SIZE = 61577;
constexpr unsigned IDS_CALC_THIRD_CUTTER = 61578;
constexpr unsigned IDS_NEW_DRILL_DIAMETER = 61579;
constexpr unsigned IDS_ENTER_LINE_WIDTH = 61580;
constexpr unsigned IDS_PLUNGE_DEPTH = 61581;
constexpr unsigned IDS_ASK_CHANGE_TOOL = 61582;
constexpr unsigned IDS_DRILL_SIZE = 61583;
constexpr unsigned IDS_SURFACE_DATA_SUSPECT = 61584;
constexpr unsigned IDS_ENTER_X_OFFSET = 61585;
constexpr unsigned IDS_ENTER_Y_OFFSET = 61586;
constexpr unsigned IDS_NOTHING_SELECTED = 61587;
constexpr unsigned IDS_ENGRAVING_DONE = 61588;
constexpr unsigned IDS_ROUTING_DONE = 61589;
constexpr unsigned IDS_DRILLING_DONE = 61590;
constexpr unsigned IDS_PATHS_DONE = 61592;
constexpr unsigned IDS_ASK_CONTINUE = 61593;
constexpr unsigned IDS_ASK_RESET_CCD_OFFSET = 61594;
constexpr unsigned IDS_ADJUST_FOCUS = 61595;
constexpr unsigned IDS_KX1300 = 61596;
constexpr unsigned IDS_KX1300L = 61597;
constexpr unsigned IDS_KX1100 = 61598;
constexpr unsigned IDS_KX4200 = 61599;
constexpr unsigned IDS_KX1100L = 61601;
constexpr unsigned IDS_ATTACH_DETECT_WIRE = 61602;
constexpr unsigned IDS_BUILDING_GROUPS = 61603;
constexpr unsigned IDS_REMOVING_DUPLICATES = 61604;
constexpr unsigned IDS_GENERATING_ENGRAVING = 61605;
constexpr unsigned IDS_SEARCHING_CONNECTIONS = 61606;
constexpr unsigned IDS_KX1600 = 61607;
constexpr unsigned IDS_KX1600L = 61608;
constexpr unsigned IDS_GERBER_TRUNCATED = 61620;
constexpr unsigned IDS_MACRO_PRIMITIVE = 61621;
constexpr unsigned IDS_WIDE_APERTURE_TABLE = 61622;
constexpr unsigned IDS_AREA_TOO_LARGE = 61623;
constexpr unsigned IDS_GERBER_BAD_NUMBER = 61630;
constexpr unsigned IDS_GERBER_STEP_REPEAT = 61631;
constexpr unsigned IDS_MACRO_DIVISION_BY_ZERO = 61632;
constexpr unsigned IDS_BOARD_BEYOND_TABLE = 61633;
constexpr unsigned IDS_AREA_NOT_CLOSED = 61636;
constexpr unsigned IDS_FILLING_AREA = 61637;
constexpr unsigned IDS_PARSE_INT = 61712;
constexpr unsigned IDS_PARSE_RANGE = 61713;
constexpr unsigned IDS_PARSE_REAL = 61715;
constexpr unsigned IDS_PARSE_STRING_SIZE = 61717;
constexpr unsigned IDS_DRILL_BAD_LINE = 62150;
constexpr unsigned IDS_DRILL_TOOL_BEYOND_TABLE = 62151;
constexpr unsigned IDS_DRILL_REPEAT_TOO_MANY = 62152;
constexpr unsigned IDS_PROJECT_TOO_NEW = 62160;
constexpr unsigned IDS_PROJECT_DAMAGED = 62161;
constexpr unsigned IDS_FIELDS_CUT = 62162;
constexpr unsigned IDS_NOTHING_TO_EXPORT = 62163;
constexpr unsigned IDS_FILE_IS_FOLDER = 62170;
constexpr unsigned IDS_FILE_EMPTY = 62171;
constexpr unsigned IDS_ARC_WITHOUT_PAD = 62180;
constexpr unsigned IDS_MACRO_NO_CLOSING_LINE = 62240;
constexpr unsigned IDS_MACRO_MISSING_NUMBERS = 62241;
// Continue and the machine commands of the view
constexpr unsigned IDS_RECORDS_BACK = 61572;
constexpr unsigned IDS_NOT_A_WHOLE_NUMBER = 62270;
constexpr unsigned IDS_DXF_TRUNCATED = 62250;
constexpr unsigned IDS_DXF_BAD_GROUP = 62251;
constexpr unsigned IDS_DXF_NOTHING_IMPORTED = 62252;
constexpr unsigned IDS_FILE_OVERWRITE = 62253;
constexpr unsigned IDS_DXF_TILTED = 62254;
constexpr unsigned IDS_DXF_OUT_OF_RANGE = 62255;
constexpr unsigned IDS_GERBER_OUT_OF_RANGE = 62256;
constexpr unsigned IDS_TARGET_BEYOND_TRAVEL = 62260;
// HPGL and RS-274D to CAM, the calculated paths as DXF, the CAM upload and
// the text input dialogs
constexpr unsigned IDS_DXF_TEMPLATE_MISSING = 62650;
constexpr unsigned IDS_DXF_TEMPLATE_NO_MARKER = 62651;
constexpr unsigned IDD_CAM_UPLOAD = 256;
constexpr unsigned IDC_CU_LAYER = 1230;
constexpr unsigned IDC_CU_TOOL_DIAMETER = 1231;
constexpr unsigned IDC_CU_START_ADDRESS = 1235;
constexpr unsigned IDC_CU_LIFT_HEIGHT = 1277;
constexpr unsigned IDC_CU_PLUNGE_HEIGHT = 1048;
constexpr unsigned IDC_CU_MEMO = 1278;
constexpr unsigned IDC_CU_AUTO_RUN = 1177;
constexpr unsigned IDC_CU_FEED_SPEED = 1276;
constexpr unsigned IDD_TEXT_INPUT = 226;
constexpr unsigned IDC_TI_TEXT = 1046;
// Surface probing, the plane-data files, the surface map and the machining report
constexpr unsigned IDD_PLANE_DETECT = 180;
constexpr unsigned IDC_PD_SPACING = 1046;
constexpr unsigned IDC_PD_LEFT_TOP = 1094;
constexpr unsigned IDC_PD_RIGHT_BOTTOM = 1095;
constexpr unsigned IDC_PD_RESULTS = 1096;
constexpr unsigned IDC_PD_START = 1097;
constexpr unsigned IDC_PD_PROFILE = 1110;
constexpr unsigned IDC_PD_SAVE = 1113;
constexpr unsigned IDC_PD_LOAD = 1114;
constexpr unsigned IDD_MACHINING_REPORT = 187;
constexpr unsigned IDC_MR_TEXT = 1046;
constexpr unsigned IDS_PLANE_FILE_NOT_READ = 62450;
constexpr unsigned IDS_PLANE_FILE_NOT_WRITTEN = 62451;
constexpr unsigned IDS_PLANE_FILE_BAD = 62452;
constexpr unsigned IDS_PROBE_NO_CONTACT = 62453;
constexpr unsigned IDS_PROBE_SPACING = 62454;
// Tool change, drilling, drill selection and the registration-hole jobs
constexpr unsigned IDS_REG_HOLES_DONE = 61591;
constexpr unsigned IDS_TOUCH_FAILED_JOB_STOPPED = 62300;
constexpr unsigned IDD_PLUNGE_SPEED = 191;
constexpr unsigned IDC_PS_SPEEDS = 1086;
constexpr unsigned IDC_PS_PROMPT = 1137;
constexpr unsigned IDC_PS_SIMULATE = 1177;
// Camera offset and measure report, program uploads, tool changer, measuring
// keys, registration holes and vision
constexpr unsigned IDS_NO_CAMERA = 62400;
constexpr unsigned IDS_UPLOAD_TOO_MANY_RECORDS = 62401;
constexpr unsigned IDS_TOOL_NOT_IN_TABLE = 62402;
constexpr unsigned IDS_SPINDLE_SLOT_UNKNOWN = 62403;
constexpr unsigned IDS_DRILL_POINT_NEEDS_LAYOUT = 62404;
constexpr unsigned IDS_DRILL_INI_TOO_LONG = 62405;

constexpr unsigned IDD_ADJUST_ORIGIN = 227;
constexpr unsigned IDC_AO_Y_PLUS = 1190;
constexpr unsigned IDC_AO_Y_MINUS = 1191;
constexpr unsigned IDC_AO_X_PLUS = 1192;
constexpr unsigned IDC_AO_X_MINUS = 1193;
constexpr unsigned IDC_AO_Y_PLUS_MM = 1194;
constexpr unsigned IDC_AO_Y_MINUS_MM = 1195;
constexpr unsigned IDC_AO_X_PLUS_MM = 1196;
constexpr unsigned IDC_AO_HOME = 1197;
constexpr unsigned IDC_AO_X_MINUS_MM = 1198;
constexpr unsigned IDC_AO_Y_PLUS_FAR = 1199;
constexpr unsigned IDC_AO_Y_MINUS_FAR = 1200;
constexpr unsigned IDC_AO_X_PLUS_FAR = 1201;
constexpr unsigned IDC_AO_X_MINUS_FAR = 1202;
constexpr unsigned IDC_AO_DRILL_HOLE = 1239;
constexpr unsigned IDC_AO_MATCH_HOLE = 1240;
constexpr unsigned IDC_AO_GET_OFFSET = 1241;
constexpr unsigned IDC_AO_MOVE = 1242;
constexpr unsigned IDC_AO_FOCUS = 1243;

constexpr unsigned IDD_MEASURE = 236;
constexpr unsigned IDC_MS_MM = 1245;
constexpr unsigned IDC_MS_INCH = 1246;
constexpr unsigned IDC_MS_PULSE = 1247;
constexpr unsigned IDC_MS_REPORT = 1248;

// The coordinate dialog, the keys and the picks of the board view
constexpr unsigned IDD_COORD_INPUT = 195;
constexpr unsigned IDC_COORD_X = 1144;
constexpr unsigned IDC_COORD_Y = 1048;
constexpr unsigned IDC_COORD_UNIT = 1112;
constexpr unsigned ID_SHOW_TEXT_WND = 32789;
constexpr unsigned ID_ROUTE_POINT_MODE = 33018;
constexpr unsigned IDS_MEASURED_HOLES_REPLACE = 62500;
constexpr unsigned IDS_MEASURED_HOLES_NONE = 62501;
constexpr unsigned IDS_NEEDS_LAYOUT_BLOCK = 62502;
// The copper and path editor
constexpr unsigned IDS_EDIT_NOT_A_NUMBER = 62550;
constexpr unsigned IDS_EDIT_POSITIVE_ONLY = 62551;
constexpr unsigned IDS_SIDE_ALIGN_ABORTED = 62552;
constexpr unsigned IDS_NO_DRILL_HOLES = 62553;
constexpr unsigned ID_DRILL_AUTO_ALIGN_MODE = 32918;
constexpr unsigned ID_DRILL_FIND = 33020;
constexpr unsigned IDS_CLEARING_RANGE_CAPTION = 62700;
constexpr unsigned IDS_OUTLINE_RANGE_CAPTION = 62701;
constexpr unsigned IDD_WORK_RANGE = 189;
constexpr unsigned IDC_WR_TO = 1048;
constexpr unsigned IDC_WR_TOTAL = 1047;
constexpr unsigned IDC_WR_FROM = 1133;
constexpr unsigned IDD_JOG_STEP = 228;
constexpr unsigned IDC_JS_SPEED = 1046;
constexpr unsigned IDC_JS_DISTANCE = 1188;
constexpr unsigned IDD_AUTO_LAYOUT = 206;
constexpr unsigned IDC_AUTO_LAYOUT_X = 1086;
constexpr unsigned IDC_AUTO_LAYOUT_Y = 1184;
constexpr unsigned ID_ENTER_PARTIAL_STAGE = 32897;
// Route drawing by mouse and the route commands
constexpr unsigned ID_ROUTE_DRAW = 32851;
constexpr unsigned ID_END_ROUTE_DRAW = 32852;
constexpr unsigned ID_ROUTE_DELETE = 32853;
constexpr unsigned ID_ROUTE_CANCEL = 32856;
constexpr unsigned ID_ROUTE_DRAW2 = 32872;
constexpr unsigned ID_ADD_RECT_RECORD = 33021;
constexpr unsigned ID_SET_CLEAR_AREA = 32850;
constexpr unsigned ID_SHOW_ROUTE_WND = 33013;
constexpr unsigned IDS_ZIGZAG_PITCH_TOO_SMALL = 62710;
// Copper to route conversion
constexpr unsigned ID_ROUTE_FROM_LAYERS = 33069;
constexpr unsigned IDS_ROUTER_DIAMETER_RANGE = 62740;
// Reading robustly: D codes past the table, project files that cannot be
// opened or are read-only
constexpr unsigned IDS_GERBER_DCODE_BEYOND_TABLE = 62900;
constexpr unsigned IDS_PROJECT_READ_ONLY = 62901;
