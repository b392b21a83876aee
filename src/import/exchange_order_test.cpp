#include "exchange_order.h"

#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <utility>

namespace scores {
namespace {

// The exchange sort exactly as the reports describe it, quadratic: the oracle for the fast order.
template <typename Key> std::vector<std::size_t> literalExchangeSort(std::vector<Key> keys) {
    std::vector<std::size_t> rows(keys.size());
    std::iota(rows.begin(), rows.end(), std::size_t{0});
    for (std::size_t i = 0; i < keys.size(); ++i) {
        for (std::size_t j = i + 1; j < keys.size(); ++j) {
            if (keys[j] > keys[i]) {
                std::swap(keys[i], keys[j]);
                std::swap(rows[i], rows[j]);
            }
        }
    }
    return rows;
}

TEST(ExchangeOrder, TheDocumentedExamples) {
    // A 5, B 5, C 7 end as C, B, A; A 7, B 5, C 9, D 5 end as C, A, B, D.
    EXPECT_EQ(exchangeOrder(std::vector<double>{5, 5, 7}), (std::vector<std::size_t>{2, 1, 0}));
    EXPECT_EQ(exchangeOrder(std::vector<double>{7, 5, 9, 5}), (std::vector<std::size_t>{2, 0, 1, 3}));
    EXPECT_EQ(exchangeOrder(std::vector<double>{}), (std::vector<std::size_t>{}));
    EXPECT_EQ(exchangeOrder(std::vector<double>{3}), (std::vector<std::size_t>{0}));
}

TEST(ExchangeOrder, MatchesTheLiteralSortOnManyRandomArraysWithHeavyTies) {
    std::mt19937 random(20261211);
    for (int trial = 0; trial < 20000; ++trial) {
        const std::size_t size = std::uniform_int_distribution<std::size_t>(0, 40)(random);
        const int distinct = std::uniform_int_distribution<int>(1, 6)(random);
        std::vector<double> keys(size);
        for (double& key : keys) {
            key = std::uniform_int_distribution<int>(0, distinct - 1)(random) * 0.5;
        }
        ASSERT_EQ(exchangeOrder(keys), literalExchangeSort(keys)) << "trial " << trial;
    }
}

TEST(ExchangeOrder, MatchesTheLiteralSortOnLongArrays) {
    std::mt19937 random(7);
    for (const int distinct : {1, 2, 3, 10, 300}) {
        std::vector<double> keys(3000);
        for (double& key : keys) {
            key = std::uniform_int_distribution<int>(0, distinct - 1)(random);
        }
        SCOPED_TRACE(distinct);
        EXPECT_EQ(exchangeOrder(keys), literalExchangeSort(keys));
    }
}

TEST(ExchangeOrder, FixedPointKeysFollowTheSameOrder) {
    std::mt19937 random(11);
    for (int trial = 0; trial < 2000; ++trial) {
        std::vector<common::Fixed4> keys(std::uniform_int_distribution<std::size_t>(0, 25)(random));
        for (common::Fixed4& key : keys) {
            key = common::Fixed4::fromUnits(std::uniform_int_distribution<std::int64_t>(0, 3)(random) * 5000);
        }
        ASSERT_EQ(exchangeOrder(keys), literalExchangeSort(keys)) << "trial " << trial;
    }
}

} // namespace
} // namespace scores
