# The configuration sync runs against the fake cloud service of the test support library.
if(TARGET larktestsupport)
    lark_add_bench(${b} LIBS larktestsupport)
else()
    message(STATUS "tests are off: bench_ConfigSync is not built")
endif()
