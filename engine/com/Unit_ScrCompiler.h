#pragma once
// Compiler engine objects: the abstract TScrCompiler and the two product compilers with their
// compile driver.
#include <cstddef>
#include <string>

#include "engine/com/Unit_Somnex.h"

namespace somnex {

class TScrCompiler : public TSomnexOf<IScrCompiler> {
public:
    bool Compile(int32_t Value) override;

protected:
    bool Answers(const IID& iid) const override { return TSomnexOf::Answers(iid) || iid == IID_IScrCompiler; }
};

// The driver both product compilers share: checks the list and the output location, asks the
// user where needed, then runs the build; errors end as a box and a false result.
class TProductCompiler : public TScrCompiler {
public:
    bool Compile(int32_t Value) override;

protected:
    virtual size_t ParamCount() const = 0;
    // Runs the build of the checked list; true when the package was completed.
    virtual bool Build(int32_t Value) = 0;
};

class TPcvCompiler final : public TProductCompiler {
protected:
    size_t ParamCount() const override { return 7; }
    bool Build(int32_t Value) override;
};

class TVcvCompiler final : public TProductCompiler {
protected:
    size_t ParamCount() const override { return 6; }
    bool Build(int32_t Value) override;
};

} // namespace somnex
