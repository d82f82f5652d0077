#include "democity/StreetGrid.h"

#include "citykit/Geometry.h"

#include <QtMath>

#include <cmath>

bool isOpenGround(const Model &model, QPointF p, double margin)
{
    if (geo::distanceToLine(p, model.river.line) < model.river.width / 2 + margin)
        return true;
    for (const Area &a : model.areas) {
        if (a.outline.boundingRect().adjusted(-margin, -margin, margin, margin).contains(p)
            && (a.outline.containsPoint(p, Qt::OddEvenFill) || geo::distanceToLine(p, a.outline) < margin))
            return true;
    }
    return false;
}

namespace {

bool buildable(const Model &model, const District &d, QPointF p)
{
    return d.outline.containsPoint(p, Qt::OddEvenFill) && !isOpenGround(model, p, 25);
}

} // namespace

StreetGridResult buildStreetGrid(const Model &model, Rng rng)
{
    StreetGridResult result;
    result.runs.resize(model.districts.size());
    for (int di = 0; di < model.districts.size(); ++di) {
        const District &d = model.districts[di];
        const double angle = qDegreesToRadians(d.gridAngle);
        const QPointF u(std::cos(angle), -std::sin(angle)), v(std::sin(angle), std::cos(angle));
        const double s = d.gridSpacing;
        // The district's extent along the grid's two axes.
        double minU = 1e300, maxU = -1e300, minV = 1e300, maxV = -1e300;
        for (QPointF p : d.outline) {
            minU = std::min(minU, QPointF::dotProduct(p, u));
            maxU = std::max(maxU, QPointF::dotProduct(p, u));
            minV = std::min(minV, QPointF::dotProduct(p, v));
            maxV = std::max(maxV, QPointF::dotProduct(p, v));
        }
        const int i0 = int(std::floor(minU / s)), i1 = int(std::ceil(maxU / s));
        const int j0 = int(std::floor(minV / s)), j1 = int(std::ceil(maxV / s));
        const int ni = i1 - i0 + 1, nj = j1 - j0 + 1;
        QVector<QPointF> nodes(ni * nj);
        QVector<bool> usable(ni * nj);
        for (int j = 0; j < nj; ++j)
            for (int i = 0; i < ni; ++i) {
                const QPointF base = u * ((i0 + i) * s) + v * ((j0 + j) * s);
                const QPointF p = base + u * rng.range(-0.07, 0.07) * s + v * rng.range(-0.07, 0.07) * s;
                nodes[j * ni + i] = p;
                usable[j * ni + i] = buildable(model, d, p);
            }
        // Side streets keep clear of the model's own streets, which are drawn over them.
        auto besideModelStreet = [&](QPointF p) {
            for (const StreetDef &street : model.streets)
                if (street.line.size() >= 2 && street.line.boundingRect().adjusted(-60, -60, 60, 60).contains(p)
                    && geo::distanceToLine(p, street.line) < 45)
                    return true;
            return false;
        };
        auto segmentOk = [&](int a, int b) {
            const QPointF mid = (nodes[a] + nodes[b]) / 2;
            return usable[a] && usable[b] && buildable(model, d, mid) && !besideModelStreet(mid) && !rng.chance(0.08);
        };
        QVector<GridRun> runs;
        // Along u: rows of constant j. Along v: columns of constant i.
        for (int family = 0; family < 2; ++family) {
            const int lines = family == 0 ? nj : ni, steps = family == 0 ? ni : nj;
            for (int l = 0; l < lines; ++l) {
                QPolygonF run;
                auto closeRun = [&] {
                    if (run.size() >= 2)
                        runs.append({run, di});
                    run.clear();
                };
                for (int k = 0; k + 1 < steps; ++k) {
                    const int a = family == 0 ? l * ni + k : k * ni + l;
                    const int b = family == 0 ? l * ni + k + 1 : (k + 1) * ni + l;
                    if (!segmentOk(a, b)) {
                        closeRun();
                        continue;
                    }
                    result.segments.append({nodes[a], nodes[b], di});
                    if (run.isEmpty())
                        run << nodes[a];
                    run << nodes[b];
                    // Long lines are cut into street-sized pieces.
                    if (run.size() > 3 + rng.below(5))
                        closeRun();
                }
                closeRun();
            }
        }
        // Shuffle so that named streets spread over the district.
        for (int k = runs.size() - 1; k > 0; --k)
            std::swap(runs[k], runs[rng.below(k + 1)]);
        result.runs[di] = runs;
    }
    return result;
}
