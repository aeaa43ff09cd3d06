#include "platform/runtime/ClassBuilder.h"

// The executable of a test bundle: registers its principal class when loaded.
class FoundationTestPrincipal : public Object {
    TW_OBJECT(FoundationTestPrincipal)
protected:
    FoundationTestPrincipal() = default;
};

Class FoundationTestPrincipal::classObject()
{
    static Class cls = ClassBuilder<FoundationTestPrincipal>("FoundationTestPrincipal", Object::classObject()).build();
    return cls;
}

__attribute__((constructor)) static void registerPrincipalClass()
{
    FoundationTestPrincipal::classObject();
}
