#include "platform/springboard/WGPlatterHeaderContentView.h"

Class WGPlatterHeaderContentView::classObject()
{
    static Class cls = ClassBuilder<WGPlatterHeaderContentView>("WGPlatterHeaderContentView", PLPlatterHeaderContentView::classObject()).build();
    return cls;
}
