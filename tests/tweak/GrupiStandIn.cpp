// Stands in for Grupi's library: its cell class exists only once the library is loaded.
#include "platform/runtime/ClassBuilder.h"

namespace {

void setSelected(id, SEL, bool) { }

__attribute__((constructor)) void registerGrupiCell()
{
    if (objc_getClass("GRPAppCell"))
        return;
    Class cls = objc_allocateClassPair(Object::classObject(), "GRPAppCell");
    class_addMethod(cls, sel_registerName("setSelected:"), &setSelected);
    objc_registerClassPair(cls);
}

} // namespace
