#pragma once
// Preview engine objects: the abstract TScrPreview and the two product previews.
#include "engine/com/Unit_Somnex.h"

namespace somnex {

class TScrPreview : public TSomnexOf<IScrPreview> {
public:
    bool Preview(bool Flag, int32_t Value) override;

protected:
    bool Answers(const IID& iid) const override { return TSomnexOf::Answers(iid) || iid == IID_IScrPreview; }
};

// What both product previews share: the list must name one existing project file; errors end as
// a box and a false result.
class TProductPreview : public TScrPreview {
public:
    bool Preview(bool Flag, int32_t Value) override;

protected:
    virtual bool Play(bool Flag, int32_t Value) = 0;
};

class TPcvPreview final : public TProductPreview {
protected:
    bool Play(bool Flag, int32_t Value) override;
};

class TVcvPreview final : public TProductPreview {
protected:
    bool Play(bool Flag, int32_t Value) override;
};

} // namespace somnex
