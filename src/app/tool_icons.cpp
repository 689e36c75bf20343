// Tool-bar pictures: small tiles with a symbol or a short mark, coloured by
// family (files, work stages, paths, machine, vision), so each button is
// told apart at a glance in either language.
#include "app/tool_icons.h"

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
    {32915, Glyph::Mark, "N", kFile},     {32905, Glyph::Mark, "O", kFile},
    {32906, Glyph::Mark, "S", kFile},     {33093, Glyph::Mark, "FL", kStage},
    {32843, Glyph::Mark, "ED", kStage},   {32845, Glyph::Mark, "LY", kStage},
    {32920, Glyph::Mark, "RS", kPath},    {33062, Glyph::Mark, "RO", kPath},
    {33075, Glyph::Mark, "PC", kPath},    {32836, Glyph::Mark, "Z+", kView},
    {32835, Glyph::Mark, "ALL", kView},   {33080, Glyph::Mark, "LYR", kView},
    {33108, Glyph::Mark, "1/2", kView},   {33104, Glyph::Mark, "I1", kPath},
    {33105, Glyph::Mark, "C1", kPath},    {33103, Glyph::Mark, "I2", kPath},
    {33102, Glyph::Mark, "C2", kPath},    {33146, Glyph::Mark, "C3", kPath},
    {33278, Glyph::Mark, "I4", kPath},    {32871, Glyph::Mark, "MV", kStage},
    {33106, Glyph::Mark, "T", kPath},     {33107, Glyph::Mark, "TB", kPath},
    {33116, Glyph::Home, "", kMachine},   {32934, Glyph::Mark, "P", kMachine},
    {33110, Glyph::Corner, "UL", kMachine}, {33111, Glyph::Corner, "UR", kMachine},
    {33112, Glyph::Corner, "LR", kMachine}, {33113, Glyph::Corner, "LL", kMachine},
    {33238, Glyph::Mark, "H+", kMachine}, {33012, Glyph::Mark, "HD", kMachine},
    {32900, Glyph::Mark, "DR", kMachine}, {33010, Glyph::Mark, "SF", kMachine},
    {33120, Glyph::Mark, "EN", kMachine}, {33127, Glyph::Mark, "ES", kMachine},
    {32903, Glyph::Mark, "RT", kMachine}, {32981, Glyph::Mark, "GO", kMachine},
    {33037, Glyph::Mark, "TC", kMachine}, {33073, Glyph::Mark, "JOG", kMachine},
    {33132, Glyph::Mark, "CAM", kMachine}, {33173, Glyph::Mark, "ST", kVision},
    {33152, Glyph::Arrow, "U", kVision},  {33175, Glyph::Arrow, "D", kVision},
    {33177, Glyph::Arrow, "R", kVision},  {33176, Glyph::Arrow, "L", kVision},
    {33178, Glyph::Mark, "F", kVision},   {33187, Glyph::Mark, "KB", kVision},
    {33193, Glyph::Mark, "CLR", kVision}, {33182, Glyph::Mark, "CAL", kVision},
    {33183, Glyph::Mark, "OFS", kVision}, {33181, Glyph::Mark, "SMP", kVision},
    {33151, Glyph::Mark, "PV", kVision},  {33206, Glyph::Mark, "MS", kVision},
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
