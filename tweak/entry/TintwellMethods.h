#pragma once

// Adds the (Tintwell) category methods to UIColor, UIImage and UIView and registers
// QFColorManager by name, so all of them can be sent by selector. Called once by the
// extension's constructor; calling it again changes nothing.
void registerTintwellMethods();
