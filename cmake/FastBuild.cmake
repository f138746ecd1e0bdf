# Compiling less. The big headers (Qt Widgets, Qt Test, GoogleTest) are parsed
# once per target instead of once per source file: every program and library
# that uses them gets a precompiled header chosen by what it links, so a new
# target needs nothing here. Targets of one or two sources go without: a header
# precompiled for them costs more than it saves, and one shared between targets
# is refused where their code generation settings differ (Qt's -fPIC).

set(OSTRELTZ_PCH_STD <algorithm> <functional> <memory> <optional> <string> <vector>)
set(OSTRELTZ_PCH_WIDGETS ${OSTRELTZ_PCH_STD}
  <QAbstractItemView> <QAction> <QApplication> <QCheckBox> <QComboBox> <QDialog> <QDialogButtonBox> <QDir>
  <QFileInfo> <QFormLayout> <QGridLayout> <QGroupBox> <QHBoxLayout> <QHeaderView> <QKeyEvent> <QLabel>
  <QLineEdit> <QMenu> <QMenuBar> <QMessageBox> <QPainter> <QPushButton> <QSettings> <QString> <QTableView>
  <QTimer> <QToolBar> <QVBoxLayout> <QWidget>)
set(OSTRELTZ_PCH_GTEST ${OSTRELTZ_PCH_STD} <filesystem> <fstream> <gtest/gtest.h>)
set(OSTRELTZ_PCH_QTEST ${OSTRELTZ_PCH_WIDGETS} <QTest> <gtest/gtest.h>)

# Every target defined in `dir` and the folders below it.
function(ostreltz_targets_below dir out)
  get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    ostreltz_targets_below(${sub} below)
    list(APPEND targets ${below})
  endforeach()
  set(${out} ${targets} PARENT_SCOPE)
endfunction()

function(ostreltz_precompile_headers)
  ostreltz_targets_below(${PROJECT_SOURCE_DIR} targets)
  foreach(t ${targets})
    get_target_property(type ${t} TYPE)
    if(NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY)$")
      continue()
    endif()
    get_target_property(sources ${t} SOURCES)
    list(FILTER sources INCLUDE REGEX "\\.cpp$")
    list(LENGTH sources count)
    if(count LESS 3)
      continue()
    endif()
    get_target_property(libs ${t} LINK_LIBRARIES)
    if(NOT libs)
      set(libs "")
    endif()
    if("Qt6::Test" IN_LIST libs)
      target_precompile_headers(${t} PRIVATE ${OSTRELTZ_PCH_QTEST})
    elseif("Qt6::Widgets" IN_LIST libs OR "ostreltz_gui" IN_LIST libs)
      target_precompile_headers(${t} PRIVATE ${OSTRELTZ_PCH_WIDGETS})
    elseif(libs MATCHES "GTest::")
      target_precompile_headers(${t} PRIVATE ${OSTRELTZ_PCH_GTEST})
    endif()
  endforeach()
endfunction()
