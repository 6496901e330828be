// The request executor's dispatch, over the GDI interface.
#include "Graph.h"
#include "GraphGdi.h"

namespace {

int32_t toInt(uint32_t v) { return static_cast<int32_t>(v); }

// One shape's pen and brush, selected for the shape's drawing call and then
// replaced by what the DC held before and deleted: none outlives the request.
class PenAndBrush {
public:
    PenAndBrush(Graph_Gdi& gdi, const Graph_ExecutorState& state, uint32_t colour, bool fill) : gdi_(gdi) {
        uint32_t penStyle = state.outlineStyle;
        uint32_t brushStyle = Graph_BS_HOLLOW;
        if (fill) {
            penStyle = Graph_PS_SOLID;
            if (state.stdPatternFlag) {
                brushStyle = state.stdBrushStyle;
            } else {
                // The pattern's 0 bits paint in the text colour: the shape's.
                gdi.SetTextColor(colour);
                brushStyle = Graph_BS_PATTERN;
            }
        }
        pen_ = gdi.CreatePen(penStyle, colour);
        replacedPen_ = gdi.SelectObject(pen_);
        brush_ = gdi.CreateBrush(brushStyle, colour, state.hatch);
        replacedBrush_ = gdi.SelectObject(brush_);
    }
    ~PenAndBrush() {
        // Selecting fails on a null DC or object; the shape's objects are
        // deleted whatever happened.
        if (replacedBrush_ != 0) gdi_.SelectObject(replacedBrush_);
        if (brush_ != 0) gdi_.DeleteObject(brush_);
        if (replacedPen_ != 0) gdi_.SelectObject(replacedPen_);
        if (pen_ != 0) gdi_.DeleteObject(pen_);
    }
    PenAndBrush(const PenAndBrush&) = delete;
    PenAndBrush& operator=(const PenAndBrush&) = delete;

private:
    Graph_Gdi& gdi_;
    Graph_Gdi::Object pen_ = 0, brush_ = 0, replacedPen_ = 0, replacedBrush_ = 0;
};

} // namespace

void Graph_Dispatch(const Graph_RequestRecord& request, Graph_ExecutorState& state, Graph_Gdi& gdi) {
    const auto& p = request.p;
    switch (request.op) {
    case OP_PEN_STYLE:
        state.outlineStyle = p.penStyle.style;
        break;
    case OP_FILL_PATTERN:
        if (p.fillPattern.pattern == Graph_PATSYM_SOLID) {
            state.stdBrushStyle = Graph_BS_SOLID;
        } else {
            state.hatch = p.fillPattern.pattern;
            state.stdBrushStyle = Graph_BS_HATCHED;
        }
        state.stdPatternFlag = true;
        break;
    case OP_PALETTE:
        gdi.ApplyPalettes();
        break;
    case OP_BK_COLOR:
        gdi.SetBkColor(Graph_PaletteColour(p.bkColour.colour));
        break;
    case OP_BK_MODE:
        gdi.SetBkMode(toInt(p.bkMode.mode));
        break;
    case OP_PIXEL:
        gdi.SetPixelV(toInt(p.pixel.x), toInt(p.pixel.y), Graph_PaletteColour(p.pixel.colour));
        break;
    case OP_RECTANGLE: {
        const auto& r = p.rectangle;
        PenAndBrush shape(gdi, state, Graph_PaletteColour(r.colour), (r.fill & 0xFF) != 0);
        gdi.Rectangle(Graph_GdiCoord(r.x1), Graph_GdiCoord(r.y1), Graph_GdiCoord(r.x2) + 1,
                      Graph_GdiCoord(r.y2) + 1);
        break;
    }
    case OP_LINE: {
        const auto& l = p.line;
        const uint32_t colour = Graph_PaletteColour(l.colour);
        if (l.x1 != l.x2 || l.y1 != l.y2) {
            PenAndBrush shape(gdi, state, colour, false);
            gdi.MoveToEx(toInt(l.x1), toInt(l.y1));
            gdi.LineTo(toInt(l.x2), toInt(l.y2));
        }
        // NOTE: LineTo leaves the end point out; it is set solid, whatever the style.
        gdi.SetPixelV(toInt(l.x2), toInt(l.y2), colour);
        break;
    }
    case OP_TEXT: {
        const auto& t = p.text;
        gdi.SetTextColor(Graph_PaletteColour(t.colour));
        gdi.TextOutA(toInt(t.x), toInt(t.y), t.text, static_cast<int32_t>(Graph_TextLength(t.text, Graph_TextMax)));
        break;
    }
    default:
        break;
    }
}
