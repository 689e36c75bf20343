// Tool-bar pictures: small tiles with a symbol or a short mark, coloured by
// family (files, work stages, paths, machine, vision), so each button is
// told apart at a glance in either language.
#include "app/tool_icons.h"

#include "resource_ids.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

enum class Glyph { Mark, Arrow, Corner, Home };

struct IconLook {
    unsigned id;
    Glyph glyph;
    const char* mark;  // Mark: the text; Arrow: "U", "D", "L", "R"; Corner: "UL", "UR", "LR", "LL"
    QRgb colour;
};

constexpr QRgb kFile = 0xFF2F6FB5, kStage = 0xFF2E8B57, kPath = 0xFFC8781E, kView = 0xFF5A6470,
               kMachine = 0xFFB83A3A, kVision = 0xFF7B4FA8;

constexpr IconLook kIcons[] = {
    {ID_FILE_NEW, Glyph::Mark, "N", kFile},
    {ID_FILE_OPEN_PROJECT, Glyph::Mark, "O", kFile},
    {ID_FILE_SAVE, Glyph::Mark, "S", kFile},
    {ID_BOARD_FLIP, Glyph::Mark, "FL", kStage},
    {ID_STAGE_EDIT, Glyph::Mark, "ED", kStage},
    {ID_STAGE_LAYOUT, Glyph::Mark, "LY", kStage},
    {ID_COPPER_SELECT, Glyph::Mark, "RS", kPath},
    {ID_COPPER_TO_ROUTE_OFFSET, Glyph::Mark, "RO", kPath},
    {ID_PATH_CALCULATION, Glyph::Mark, "PC", kPath},
    {ID_ZOOM_WINDOW, Glyph::Mark, "Z+", kView},
    {ID_WINDOW_ALL, Glyph::Mark, "ALL", kView},
    {ID_LAYER_CONTROL, Glyph::Mark, "LYR", kView},
    {ID_SOLID_LINES, Glyph::Mark, "1/2", kView},
    {ID_ADD_T1_ISO_RANGE, Glyph::Mark, "I1", kPath},
    {ID_ADD_T1_CLEAR_RANGE, Glyph::Mark, "C1", kPath},
    {ID_ADD_T2_ISO_RANGE, Glyph::Mark, "I2", kPath},
    {ID_ADD_T2_CLEAR_RANGE, Glyph::Mark, "C2", kPath},
    {ID_ADD_T3_CLEAR_RANGE, Glyph::Mark, "C3", kPath},
    {ID_ADD_T4_ISO_RANGE, Glyph::Mark, "I4", kPath},
    {ID_MOVE_COPPER, Glyph::Mark, "MV", kStage},
    {ID_TRIM_SINGLE_PATH, Glyph::Mark, "T", kPath},
    {ID_TRIM_BLOCK_PATH, Glyph::Mark, "TB", kPath},
    {ID_HOME_RETURN, Glyph::Home, "", kMachine},
    {ID_MACHINE_PARAMS, Glyph::Mark, "P", kMachine},
    {ID_WORK_AREA_UPPER_LEFT, Glyph::Corner, "UL", kMachine},
    {ID_WORK_AREA_UPPER_RIGHT, Glyph::Corner, "UR", kMachine},
    {ID_WORK_AREA_LOWER_RIGHT, Glyph::Corner, "LR", kMachine},
    {ID_WORK_AREA_LOWER_LEFT, Glyph::Corner, "LL", kMachine},
    {ID_ADD_LOCATING_HOLES, Glyph::Mark, "H+", kMachine},
    {ID_MACHINE_DRILL_LOCATING_HOLES, Glyph::Mark, "HD", kMachine},
    {ID_MACHINE_DRILL, Glyph::Mark, "DR", kMachine},
    {ID_MACHINE_SURFACE_PROBE, Glyph::Mark, "SF", kMachine},
    {ID_MACHINE_ENGRAVE, Glyph::Mark, "EN", kMachine},
    {ID_MACHINE_ENGRAVE_SELECTION, Glyph::Mark, "ES", kMachine},
    {ID_MACHINE_ROUTE, Glyph::Mark, "RT", kMachine},
    {ID_MACHINE_CONTINUE, Glyph::Mark, "GO", kMachine},
    {ID_MACHINE_TOOL_CHANGE, Glyph::Mark, "TC", kMachine},
    {ID_MACHINE_JOG, Glyph::Mark, "JOG", kMachine},
    {ID_ENGRAVE_CAM_DATA, Glyph::Mark, "CAM", kMachine},
    {ID_SET_MOVE_DISTANCE, Glyph::Mark, "ST", kVision},
    {ID_MOVE_PLUS_Y, Glyph::Arrow, "U", kVision},
    {ID_MOVE_MINUS_Y, Glyph::Arrow, "D", kVision},
    {ID_MOVE_PLUS_X, Glyph::Arrow, "R", kVision},
    {ID_MOVE_MINUS_X, Glyph::Arrow, "L", kVision},
    {ID_CAMERA_FOCUS, Glyph::Mark, "F", kVision},
    {ID_KEYBOARD_MOVE, Glyph::Mark, "KB", kVision},
    {ID_CLEAR_VISION_TARGETS, Glyph::Mark, "CLR", kVision},
    {ID_DRILL_CAMERA_HOLE, Glyph::Mark, "CAL", kVision},
    {ID_CAMERA_OFFSET, Glyph::Mark, "OFS", kVision},
    {ID_SAMPLE_DRILLS, Glyph::Mark, "SMP", kVision},
    {ID_PREVIEW_DRILLS, Glyph::Mark, "PV", kVision},
    {ID_VISION_MEASURE, Glyph::Mark, "MS", kVision},
};

QPixmap Draw(const IconLook& look, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF tile(1, 1, size - 2, size - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor::fromRgba(look.colour));
    p.drawRoundedRect(tile, size / 6.0, size / 6.0);
    p.setPen(QPen(Qt::white, size / 12.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    const double c = size / 2.0, r = size * 0.3;
    std::string mark = look.mark;
    switch (look.glyph) {
    case Glyph::Mark: {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setBold(true);
        font.setPixelSize(mark.size() >= 3 ? size * 0.34 : mark.size() == 2 ? size * 0.44 : size * 0.6);
        p.setFont(font);
        p.drawText(tile, Qt::AlignCenter, QString::fromStdString(mark));
        break;
    }
    case Glyph::Arrow: {
        QPolygonF arrow{{0, -r}, {r * 0.8, 0}, {r * 0.3, 0}, {r * 0.3, r}, {-r * 0.3, r},
                        {-r * 0.3, 0}, {-r * 0.8, 0}};
        double angle = mark == "U" ? 0 : mark == "R" ? 90 : mark == "D" ? 180 : 270;
        p.translate(c, c);
        p.rotate(angle);
        p.drawPolygon(arrow);
        break;
    }
    case Glyph::Corner: {
        QRectF table(c - r, c - r, 2 * r, 2 * r);
        p.setBrush(Qt::NoBrush);
        p.drawRect(table);
        QPointF corner(mark[1] == 'L' ? table.left() : table.right(),
                       mark[0] == 'U' ? table.top() : table.bottom());
        p.setBrush(Qt::white);
        p.drawEllipse(corner, size / 9.0, size / 9.0);
        break;
    }
    case Glyph::Home: {
        QPolygonF house{{c, c - r}, {c + r, c}, {c + r * 0.7, c}, {c + r * 0.7, c + r},
                        {c - r * 0.7, c + r}, {c - r * 0.7, c}, {c - r, c}};
        p.drawPolygon(house);
        break;
    }
    }
    return pixmap;
}

}  // namespace

QIcon CommandIcon(unsigned id)
{
    IconLook look{id, Glyph::Mark, "", kView};
    for (const IconLook& s : kIcons)
        if (s.id == id)
            look = s;
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addPixmap(Draw(look, size));
    return icon;
}
