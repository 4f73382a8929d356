# The sanitizer, thread-sanitizer and fuzzing builds exist to run the tests
# under checks, never to ship: they take what makes them quick to build.
#  - -O1 and line tables only (-g1): the optimisation the sanitizers
#    recommend for readable reports, and all a stack trace needs; together
#    about 40 % less compile time than -O2 -g.
#  - Precompiled headers of what nearly every file includes (Qt's image,
#    painting and widget headers, the standard containers, GoogleTest): the
#    release build keeps none, so that it still catches a missing include.
set(TILEMONT_CHECK_BUILD OFF)
if(TILEMONT_SANITIZE OR TILEMONT_TSAN OR TILEMONT_FUZZ)
  set(TILEMONT_CHECK_BUILD ON)
  set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
  set(CMAKE_C_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
  # Tests that bound how long work takes allow for the checks' slowdown.
  add_compile_definitions(TILEMONT_CHECK_BUILD=1)
endif()
option(TILEMONT_PCH "Precompile the common headers" ${TILEMONT_CHECK_BUILD})

set(TILEMONT_PCH_CORE <algorithm> <array> <cmath> <cstdint> <functional> <memory> <optional> <vector>
  <QString> <QStringList> <QImage> <QPainter> <QPainterPath> <QDir> <QFile> <QFileInfo>)
set(TILEMONT_PCH_GUI <QApplication> <QWidget> <QAction> <QMainWindow> <QDialog> <QLabel> <QLineEdit>
  <QPushButton> <QCheckBox>)

# kind: core (Qt Core and Gui), gui (with Widgets), test or guitest (with
# GoogleTest, and Qt Test for the window tests).
function(tilemont_precompile target kind)
  if(NOT TILEMONT_PCH)
    return()
  endif()
  set(headers ${TILEMONT_PCH_CORE})
  if(kind STREQUAL "gui" OR kind STREQUAL "guitest")
    list(APPEND headers ${TILEMONT_PCH_GUI})
  endif()
  if(kind STREQUAL "test" OR kind STREQUAL "guitest")
    list(APPEND headers <gtest/gtest.h>)
  endif()
  if(kind STREQUAL "guitest")
    list(APPEND headers <QTest>)
  endif()
  target_precompile_headers(${target} PRIVATE ${headers})
endfunction()
