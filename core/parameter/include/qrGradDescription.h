#pragma once
// A colour gradient: nodes of a colour at a position, kept sorted by
// position, with an interpolation kind and a cyclic flag.
#include "qrParamValueTypes.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

template <class Pixel> class QrGradDescription {
public:
    enum class Interpolation { linear, cubic };

    struct Node {
        Pixel colour {};
        float position = 0.0f;
        int32_t id = 0;
        friend bool operator==(const Node&, const Node&) = default;
    };

    QrGradDescription() { reset(); }

    // Two nodes at 0 and 1 (ids 0 and 1) with every colour component 0,
    // linear, not cyclic.
    void reset()
    {
        interpolation_ = Interpolation::linear;
        cyclic_ = false;
        nodes_ = {Node {Pixel {}, 0.0f, 0}, Node {Pixel {}, 1.0f, 1}};
    }
    void clearNodes() { nodes_.clear(); }

    // Inserts after any node at the same position, keeping the order.
    void addNode(const Pixel& colour, float position, int32_t id)
    {
        auto at = std::upper_bound(
            nodes_.begin(), nodes_.end(), position, [](float p, const Node& n) { return p < n.position; });
        nodes_.insert(at, Node {colour, position, id});
    }
    void addNode(const Pixel& colour, float position) { addNode(colour, position, nextFreeId()); }

    // One above the largest id in use (0 for an empty gradient). A document
    // may hold the largest int as an id; then the smallest unused id
    // from 0 up is taken instead, as nothing lies above it.
    int32_t nextFreeId() const
    {
        int64_t next = 0;
        for (const Node& n : nodes_)
            next = std::max(next, int64_t(n.id) + 1);
        if (next <= std::numeric_limits<int32_t>::max())
            return int32_t(next);
        int32_t id = 0;
        while (std::any_of(nodes_.begin(), nodes_.end(), [id](const Node& n) { return n.id == id; }))
            ++id;
        return id;
    }

    Interpolation interpolation() const { return interpolation_; }
    void setInterpolation(Interpolation i) { interpolation_ = i; }
    bool cyclic() const { return cyclic_; }
    void setCyclic(bool c) { cyclic_ = c; }
    const std::vector<Node>& nodes() const { return nodes_; }
    std::vector<Node>& nodes() { return nodes_; }

    friend bool operator==(const QrGradDescription&, const QrGradDescription&) = default;

private:
    Interpolation interpolation_ = Interpolation::linear;
    bool cyclic_ = false;
    std::vector<Node> nodes_;
};

// A colour gradient over RGBA floats; new ones run from opaque black at 0 to
// opaque white at 1.
class QrColGradDescription : public QrGradDescription<QrPixelRGBAf> {
public:
    QrColGradDescription()
    {
        nodes()[0].colour = QrPixelRGBAf {0.0f, 0.0f, 0.0f, 1.0f};
        nodes()[1].colour = QrPixelRGBAf {1.0f, 1.0f, 1.0f, 1.0f};
    }
};
