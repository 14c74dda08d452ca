# The Microsoft sync runs against the fake Graph of the test support library.
if(TARGET larktestsupport)
    lark_add_bench(${b} LIBS larktestsupport)
else()
    message(STATUS "tests are off: bench_GraphSync is not built")
endif()
