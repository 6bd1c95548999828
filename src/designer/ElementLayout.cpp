#include "ElementLayout.h"

#include "GraphBase.h"

#include <algorithm>
#include <numeric>

QRect DragClamp(const QRect& rect, int dx, int dy) {
    const int width = rect.width();
    const int height = rect.height();
    int left = rect.x() + dx;
    int top = rect.y() + dy;
    if (left <= 0)
        left = 0;
    if (left >= kPanelWidth)
        left = kPanelWidth - width;
    if (top <= 0)
        top = 0;
    if (top >= kPanelHeight)
        top = kPanelHeight - height;
    if (left + width >= kPanelWidth)
        left = kPanelWidth - width;
    if (top + height >= kPanelHeight)
        top = kPanelHeight - height;
    return QRect(left, top, width, height);
}

QRect ShiftInside(const QRect& rect) {
    QRect shifted = rect;
    if (shifted.x() + shifted.width() > kPanelWidth)
        shifted.moveLeft(kPanelWidth - shifted.width());
    if (shifted.x() < 0)
        shifted.moveLeft(0);
    if (shifted.y() + shifted.height() > kPanelHeight)
        shifted.moveTop(kPanelHeight - shifted.height());
    if (shifted.y() < 0)
        shifted.moveTop(0);
    return shifted;
}

std::vector<QRect> AlignRects(const std::vector<QRect>& rects, AlignEdge edge) {
    if (rects.empty())
        return rects;
    const auto extreme = [&rects](auto value, auto pick) {
        int result = value(rects.front());
        for (const QRect& rect : rects)
            result = pick(result, value(rect));
        return result;
    };
    const auto minimum = [](int a, int b) { return std::min(a, b); };
    const auto maximum = [](int a, int b) { return std::max(a, b); };
    std::vector<QRect> aligned = rects;
    switch (edge) {
    case AlignEdge::Left: {
        const int left = extreme([](const QRect& r) { return r.x(); }, minimum);
        for (QRect& rect : aligned)
            rect.moveLeft(left);
        break;
    }
    case AlignEdge::Right: {
        const int right = extreme([](const QRect& r) { return r.x() + r.width(); }, maximum);
        for (QRect& rect : aligned)
            rect.moveLeft(right - rect.width());
        break;
    }
    case AlignEdge::Top: {
        const int top = extreme([](const QRect& r) { return r.y(); }, minimum);
        for (QRect& rect : aligned)
            rect.moveTop(top);
        break;
    }
    case AlignEdge::Bottom: {
        const int bottom = extreme([](const QRect& r) { return r.y() + r.height(); }, maximum);
        for (QRect& rect : aligned)
            rect.moveTop(bottom - rect.height());
        break;
    }
    }
    return aligned;
}

std::vector<QRect> DistributeRects(const std::vector<QRect>& rects, Qt::Orientation orientation) {
    if (rects.size() < 3)
        return rects;
    const bool horizontal = orientation == Qt::Horizontal;
    const auto start = [horizontal](const QRect& r) { return horizontal ? r.x() : r.y(); };
    const auto length = [horizontal](const QRect& r) {
        return horizontal ? r.width() : r.height();
    };
    std::vector<std::size_t> order(rects.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return start(rects[a]) < start(rects[b]);
    });
    const QRect& first = rects[order.front()];
    const QRect& last = rects[order.back()];
    int lengths = 0;
    for (const QRect& rect : rects)
        lengths += length(rect);
    const int gaps = start(last) + length(last) - start(first) - lengths;
    const int count = static_cast<int>(rects.size()) - 1;
    std::vector<QRect> spread = rects;
    int before = 0; // lengths of the rectangles placed so far
    for (int i = 0; i <= count; ++i) {
        QRect& rect = spread[order[static_cast<std::size_t>(i)]];
        const int at = start(first) + before + gaps * i / count;
        if (horizontal)
            rect.moveLeft(at);
        else
            rect.moveTop(at);
        before += length(rect);
    }
    return spread;
}

bool SizeIsFree(const CGraphBase& element) {
    switch (element.m_nTypeCode) {
    case kTypeStaticText:
    case kTypeRegister:
    case kTypeDynamicText:
        return false;
    default:
        return true;
    }
}
