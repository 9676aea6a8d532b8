#pragma once
// Second base of every texture: lets an image tell an observer that its
// contents changed. Textures of this system have no observers, so the base
// answers that nobody was told.
class QrTexNotifier {
public:
    virtual ~QrTexNotifier() = default;
    virtual bool notifyChange() { return false; }
};
