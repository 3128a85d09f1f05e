# The PSD reader.
target_sources(readers PRIVATE psd/psd_format.cpp psd/psd_file.cpp psd/psd_reader.cpp)
