#pragma once

// A component document that can lend a copy of its component to a fractal
// being composed (the design sheet). Each document type fills the member of
// Components that its type names.

#include "engine/compose.h"

class ComponentSource
{
public:
    virtual ~ComponentSource() = default;
    // Puts a copy of the document's component into `parts`.
    virtual void CopyComponentTo(Components& parts) const = 0;
};
