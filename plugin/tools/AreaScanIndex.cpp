#include "plugin/tools/AreaScanIndex.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "plugin/hostaccess/Suites.h"
#include "plugin/tools/HostArt.h"

namespace tools {
namespace {

// Extents covering more cells than this are examined at every move.
constexpr long kMaxCellsPerPath = 64;
constexpr int kMaxGridSide = 1024;

bool Finite(const AIRealRect& b) {
    return std::isfinite(b.left) && std::isfinite(b.right) && std::isfinite(b.top) &&
           std::isfinite(b.bottom);
}

}  // namespace

ASErr AreaScanIndex::Build() {
    *this = AreaScanIndex{};
    std::vector<AIArtHandle> paths;
    if (const ASErr error = ReachablePaths(&paths)) {
        return error;
    }
    entries_.reserve(paths.size());
    std::optional<AIRealRect> all;
    for (AIArtHandle path : paths) {
        AIRealRect box{};
        const bool known = sAIArt->GetArtBounds(path, &box) == 0;
        entries_.push_back({path, box, known});
        if (known && Finite(box)) {
            all =
                all ? AIRealRect{std::min(all->left, box.left), std::max(all->top, box.top),
                                 std::max(all->right, box.right), std::min(all->bottom, box.bottom)}
                    : box;
        }
    }
    if (all) {
        left_ = all->left;
        bottom_ = all->bottom;
        const double extent = std::max({static_cast<double>(all->right) - all->left,
                                        static_cast<double>(all->top) - all->bottom, 1.0});
        const int side = std::clamp(
            static_cast<int>(std::sqrt(static_cast<double>(entries_.size()))), 1, kMaxGridSide);
        cell_ = extent / side;
        columns_ = std::max(1, static_cast<int>((all->right - left_) / cell_) + 1);
        rows_ = std::max(1, static_cast<int>((all->top - bottom_) / cell_) + 1);
        cells_.assign(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_), {});
    }
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const AIRealRect& b = entries_[i].box;
        const auto slot = static_cast<int>(i);
        if (!entries_[i].known || !Finite(b)) {
            everywhere_.push_back(slot);
            continue;
        }
        const int c0 = static_cast<int>((b.left - left_) / cell_);
        const int c1 = std::min(columns_ - 1, static_cast<int>((b.right - left_) / cell_));
        const int r0 = static_cast<int>((b.bottom - bottom_) / cell_);
        const int r1 = std::min(rows_ - 1, static_cast<int>((b.top - bottom_) / cell_));
        if (static_cast<long>(c1 - c0 + 1) * (r1 - r0 + 1) > kMaxCellsPerPath) {
            everywhere_.push_back(slot);
            continue;
        }
        for (int r = r0; r <= r1; ++r) {
            for (int c = c0; c <= c1; ++c) {
                cells_[static_cast<std::size_t>(r) * columns_ + c].push_back(slot);
            }
        }
    }
    return 0;
}

std::vector<AIArtHandle> AreaScanIndex::Near(AIRealPoint cursor, AIReal tolerance) const {
    std::vector<int> found = everywhere_;
    const double x0 = cursor.h - tolerance, x1 = cursor.h + tolerance;
    const double y0 = cursor.v - tolerance, y1 = cursor.v + tolerance;
    if (columns_ > 0 && x1 >= left_ && y1 >= bottom_ && x0 <= left_ + columns_ * cell_ &&
        y0 <= bottom_ + rows_ * cell_) {
        const auto column = [this](double x) {
            return std::clamp(static_cast<int>(std::floor((x - left_) / cell_)), 0, columns_ - 1);
        };
        const auto row = [this](double y) {
            return std::clamp(static_cast<int>(std::floor((y - bottom_) / cell_)), 0, rows_ - 1);
        };
        for (int r = row(y0); r <= row(y1); ++r) {
            for (int c = column(x0); c <= column(x1); ++c) {
                const auto& cell = cells_[static_cast<std::size_t>(r) * columns_ + c];
                found.insert(found.end(), cell.begin(), cell.end());
            }
        }
    }
    // The host's order, each path once.
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    std::vector<AIArtHandle> near;
    for (int i : found) {
        const Entry& e = entries_[static_cast<std::size_t>(i)];
        const AIRealRect& b = e.box;
        if (!e.known || (cursor.h >= b.left - tolerance && cursor.h <= b.right + tolerance &&
                         cursor.v >= b.bottom - tolerance && cursor.v <= b.top + tolerance)) {
            near.push_back(e.art);
        }
    }
    return near;
}

namespace {

struct KeptIndex {
    bool built = false;
    AreaScanIndex index;
};

KeptIndex& Kept() {
    static KeptIndex kept;
    return kept;
}

}  // namespace

const AreaScanIndex* KeptAreaScanIndex(ASErr* error) {
    KeptIndex& kept = Kept();
    *error = 0;
    if (!kept.built) {
        *error = kept.index.Build();
        kept.built = *error == 0;
    }
    return kept.built ? &kept.index : nullptr;
}

void ForgetAreaScanIndex() {
    Kept() = KeptIndex{};
}

}  // namespace tools
