// A scope in which the customer form writes its own fields: what it writes
// there is not the user's edit of the record.
#pragma once

class ScritturaProgramma
{
  public:
    explicit ScritturaProgramma(bool &flag) : m_flag(flag), m_prima(flag) { m_flag = true; }
    ~ScritturaProgramma() { m_flag = m_prima; }
    ScritturaProgramma(const ScritturaProgramma &) = delete;
    ScritturaProgramma &operator=(const ScritturaProgramma &) = delete;

  private:
    bool &m_flag;
    bool m_prima;
};
