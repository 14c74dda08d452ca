# The import runs through the test support's import helper, as the tests run it.
if(TARGET larktestsupport)
    lark_add_bench(${b} LIBS larktestsupport)
else()
    message(STATUS "tests are off: bench_IcsImport is not built")
endif()
