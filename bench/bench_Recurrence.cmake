# libical's recurrence iterator is the yardstick for the cost per occurrence; used only here.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBICAL REQUIRED IMPORTED_TARGET libical)
lark_add_bench(${b} LIBS PkgConfig::LIBICAL)
