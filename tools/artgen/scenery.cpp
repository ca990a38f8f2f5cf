// What the three planes share: the sky gradient and the list text.
#include "tools/artgen/scenery.h"

#include "tools/artgen/colours.h"
#include "tools/artgen/shapes.h"

namespace artgen {
namespace {

using namespace colours;

constexpr int kVisibleRows = kScreenHeight / kTileSize;  // 15

void appendRow(std::string& text, const PlaneDesign& plane, int row, int width) {
    for (int column = 0; column < width; ++column) {
        if (column > 0) text += ' ';
        text += std::to_string(plane.cell(column, row));
    }
    text += '\n';
}

}  // namespace

void paintSky(cairo_t* cr, double width, double height, double horizonY) {
    cairo_rectangle(cr, 0, 0, width, height);
    fillVertically(cr, 0, kSkyTop, horizonY, kSkyHorizon);
}

std::string listText(const PlaneDesign& plane) {
    std::string text;
    for (int row = 0; row < plane.listRows; ++row) appendRow(text, plane, row, plane.columns);
    return text;
}

std::string surfaceListText(const PlaneDesign& front) {
    constexpr int kSurfaceColumns = 80;
    std::string text;
    for (int row = 0; row < kVisibleRows; ++row) {
        const bool ground = front.cell(0, row) != 0;
        for (int column = 0; column < kSurfaceColumns; ++column) {
            if (column > 0) text += ' ';
            text += ground ? '1' : '0';
        }
        text += '\n';
    }
    return text;
}

}  // namespace artgen
