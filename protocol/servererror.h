#pragma once
// The ERROR line's decoder, kept apart from the other messages because its
// codes have a table of their own.

#include "serverline.h"

#include <QStringView>

namespace toc::detail {

// "ERROR:<code>[:<argument>]" as an msg::Error with the text shown to the
// user, or msg::Ignored when the code (or the sub-code of 989) is not a number.
ServerRecord decodeError(QStringView line);

} // namespace toc::detail
