int dummy_support;
