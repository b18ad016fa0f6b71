#!/bin/sh
# Debian packages the build and the tests need.
set -e
apt-get install -y libmd-dev
