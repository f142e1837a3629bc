# cmake -DMESSAGE=<text> -P fail.cmake
# Fails with MESSAGE: the stand-in for a check that cannot run here, so that it is seen to fail.
message(FATAL_ERROR "${MESSAGE}")
